// Plain text from the HTML that learning platforms store in questions.
#pragma once

#include <string>
#include <string_view>

struct HtmlText {
    std::string text;  // UTF-8, line breaks as LF, trimmed
    bool droppedImage; // an <img> was in it
};

// Block ends (<br>, </p>, </div>, </li>, </tr>, </h1>…</h6>, <hr>) become line
// breaks, </td> and </th> a space; other tags are dropped; entities decoded;
// runs of white space inside a line folded as a browser shows them.
HtmlText plainTextFromHtml(std::string_view html);

// A category path's last component, trimmed: the genre of the questions in
// it. "//" in a path is a "/" in a name.
std::string categoryName(std::string_view path);
