// The learning-platform readers (Moodle XML, GIFT, Aiken) and the HTML they
// share: each a table of inputs and the records they give, one line per
// record: its line, [genre], text | choice=credit …, then what else it holds.
#include "tools/tovtool/import/html_text.h"
#include "tools/tovtool/import/import_record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

struct Case {
    const char* name;
    std::string input; // "@file" for a file of the test data
    std::string expected;
};

using Reader = void (*)(std::string_view, ImportBatch&);

std::string shown(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string shown(Msg id, const std::vector<std::string>& args) {
    std::string out = messageKey(id);
    for (std::size_t i = 0; i < args.size(); ++i) {
        out += (i == 0 ? "(" : ",") + args[i] + (i + 1 == args.size() ? ")" : "");
    }
    return out;
}

std::string shown(const ImportRecord& r) {
    std::string out = std::to_string(r.place.line) + " [" + r.genre + "] " + r.text + " |";
    for (std::size_t i = 0; i < std::max(r.choices.size(), r.credit.size()); ++i) {
        out += " " + (i < r.choices.size() ? r.choices[i] : "?") + "=" +
               (i < r.credit.size() ? shown(r.credit[i]) : "?");
    }
    out += r.format != 0 ? " format " + std::to_string(r.format) : "";
    out += r.hasPoints ? " points " + (r.pointsText.empty() ? shown(r.points) : r.pointsText) : "";
    out += r.explanation.empty() ? "" : " explanation " + r.explanation;
    out += r.skip != Msg::None ? " skip " + shown(r.skip, r.skipArgs) : "";
    for (const ImportNote& note : r.notes) {
        out += " " + shown(note.id, note.args);
    }
    return out;
}

std::string shown(const ImportBatch& batch) {
    std::string out =
        batch.error != Msg::None ? "error " + shown(batch.error, batch.errorArgs) : "";
    for (const ImportNote& note : batch.notes) {
        out += (out.empty() ? "" : "\n") + std::to_string(note.place.line) + " note " +
               shown(note.id, note.args);
    }
    for (const ImportRecord& record : batch.records) {
        out += (out.empty() ? "" : "\n") + shown(record);
    }
    return out;
}

std::string fileText(const std::string& name) {
    std::ifstream in(std::string(IMPORT_DATA) + "/" + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    EXPECT_TRUE(in.good()) << name;
    return text.str();
}

void expectReads(Reader read, const std::vector<Case>& cases) {
    language = Lang::En;
    for (const Case& c : cases) {
        ImportBatch batch;
        read(c.input[0] == '@' ? fileText(c.input.substr(1)) : c.input, batch);
        EXPECT_EQ(shown(batch), c.expected) << c.name;
    }
}

// A quiz whose first question stands on line 2.
std::string quiz(const std::string& questions) {
    return "<quiz>\n" + questions + "</quiz>";
}

std::string multichoice(const std::string& inside) {
    return "<question type=\"multichoice\"><name><text>N</text></name>" + inside + "</question>\n";
}

TEST(PlatformImport, MoodleXml) {
    const std::string answers = R"(<answer fraction="100"><text>a</text></answer>)"
                                R"(<answer fraction="0"><text>b</text></answer>)";
    std::string nested;
    for (int level = 0; level < 100; ++level) {
        nested += "<a>";
    }
    expectReads(
        readMoodle,
        {
            {"html text, grade, general feedback",
             quiz(multichoice(
                 R"(<questiontext format="html"><text><![CDATA[<p>2 &gt; 1?</p>]]></text>)"
                 R"(</questiontext><generalfeedback format="html"><text>&lt;p&gt;Yes&amp;)"
                 R"(amp;no&lt;/p&gt;</text></generalfeedback><defaultgrade>2.5000000)"
                 R"(</defaultgrade><single>true</single>)" +
                 answers)),
             "2 [] 2 > 1? | a=100 b=0 points 2.5 explanation Yes&no"},
            {"several right, partial and negative fractions, not single",
             quiz(multichoice(R"(<questiontext format="plain_text"><text>a &lt;b&gt; c</text>)"
                              R"(</questiontext><single>false</single>)"
                              R"(<answer fraction="33.33333"><text>x</text></answer>)"
                              R"(<answer fraction="-100"><text>y</text></answer>)")),
             "2 [] a <b> c | x=33.3333 y=-100 format 1"},
            {"true/false",
             quiz(R"(<question type="truefalse"><questiontext><text>Q</text>)"
                  R"(</questiontext><answer fraction="0"><text>true</text></answer>)"
                  R"(<answer fraction="100"><text>false</text></answer></question>)"),
             "2 [] Q | ○=0 ×=100"},
            {"categories give the last component, // a slash in a name",
             quiz(R"(<question type="category"><category><text>$course$/top/A//B</text>)"
                  R"(</category></question>)"
                  "\n" +
                  multichoice(answers) +
                  R"(<question type="category"><category><text>$course$/top/C/Unit 1</text>)"
                  R"(</category></question>)" +
                  multichoice(answers)),
             "3 [A/B]  | a=100 b=0\n4 [Unit 1]  | a=100 b=0"},
            {"another type skipped with its name",
             quiz(R"(<question type="shortanswer"><name><text>Short</text></name><questiontext )"
                  R"(format="html"><text>&lt;p&gt;Q&lt;/p&gt;</text></questiontext></question>)"),
             "2 [] Q | skip skip-type(shortanswer,Short)"},
            {"feedback per answer, reported once",
             quiz(multichoice(R"(<answer fraction="100"><text>a</text><feedback><text>Yes)"
                              R"(</text></feedback></answer><correctfeedback><text>Right)"
                              R"(</text></correctfeedback><incorrectfeedback><text/>)"
                              R"(</incorrectfeedback>)")),
             "2 []  | a=100 feedback-dropped"},
            {"empty combined feedback is nothing to report",
             quiz(multichoice(answers + R"(<correctfeedback format="html"><text><![CDATA[)"
                                        R"(<p> </p>]]></text></correctfeedback>)")),
             "2 []  | a=100 b=0"},
            {"images in HTML and attached files",
             quiz(multichoice(
                 R"(<questiontext format="html"><text>&lt;img src="x.png"&gt;Q</text>)"
                 R"(</questiontext><generalfeedback><text>E</text><file name="e.png"/>)"
                 R"(</generalfeedback><answer fraction="100"><text>a</text><file name="a.png"/>)"
                 R"(</answer>)")),
             "2 [] Q | a=100 explanation E image-dropped(the question text) "
             "image-dropped(choice 1) image-dropped(the explanation)"},
            {"grade that is no number", quiz(multichoice("<defaultgrade>two</defaultgrade>")),
             "2 []  | points two"},
            {"malformed", quiz("<question type=\"multichoice\">\n<name></question>"),
             "error not-xml(line 3: invalid closing tag name)"},
            {"not XML at all", "Q{=a ~b}", "error not-xml(line 1: expected <)"},
            {"an entity declaration refused", quiz("<!ENTITY a \"b\">"), "error xml-declarations"},
            {"a declaration inside CDATA is text",
             "\xEF\xBB\xBF" + quiz(multichoice(R"(<questiontext><text><![CDATA[<!DOCTYPE>]]>)"
                                               R"(</text></questiontext>)")),
             "2 [] <!DOCTYPE> |"},
            {"billion laughs", "@moodle-billion-laughs.xml", "error xml-declarations"},
            {"nested past any export", quiz(nested),
             "error xml-too-deep(100)"},
            {"the platform's export", "@moodle-export.xml",
             "11 [第1章 基礎] 安全なパスワードはどれですか。\n1 つ選んでください。 | password=0 "
             "k7#Lq&9v!Xw2=100 123456=0 points 2 explanation 長く、推測されにくいものが安全です"
             "\xC2\xA0(12 文字以上)。 image-dropped(the question text) feedback-dropped\n"
             "52 [第2章 対策] 有効な対策をすべて選んでください。\n対象 脅威\nPC マルウェア | "
             "更新プログラムを適用する=50 ウイルス対策ソフトを使う=50 添付ファイルをすぐ開く=-100 "
             "format 1 points 3 image-dropped(choice 2) feedback-dropped\n"
             "85 [第2章 対策] 公開鍵は秘密にしなければならない。 | ○=0 ×=100 points 1 "
             "explanation 秘密にするのは秘密鍵です。\n"
             "106 [第2章 対策] VPN は何の略ですか。 | skip skip-type(shortanswer,略語)\n"
             "113 [第2章 対策] 多要素認証を説明しなさい。 | skip skip-type(essay,説明)\n"
             "119 [第2章 対策] 用語と意味を結びなさい。 | skip skip-type(matching,組み合わせ)\n"
             "126 [第2章 対策] HTTPS の標準のポート番号は。 | skip skip-type(numerical,ポート)\n"
             "133 [第2章 対策] {1:MULTICHOICE:=AES~RSA} は共通鍵暗号です。 | "
             "skip skip-type(multianswer,穴埋め)\n"
             "139 [第2章 対策] 次の問いに答えなさい。 | skip skip-type(description,はじめに)\n"
             "145 [第2章 対策] {a} + {b} は。 | skip skip-type(calculated,計算)"},
        });
}

TEST(PlatformImport, BillionLaughsRefusedWithinASecond) {
    const std::string bomb = fileText("moodle-billion-laughs.xml");
    const auto start = std::chrono::steady_clock::now();
    ImportBatch batch;
    readMoodle(bomb, batch);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(batch.error, Msg::XmlDeclarations);
}

TEST(PlatformImport, Gift) {
    const std::string noSpace = "gift-no-space";
    const std::string noBlank = "gift-no-blank-line";
    expectReads(
        readGift,
        {
            {"single answer", "Q? {=a ~b ~c}", "1 [] Q? | a=100 b=0 c=0"},
            {"weighted answers", "Q {~%50%a ~%50%b ~%-100%c}",
             "1 [] Q | a=50 b=50 c=-100 format 1"},
            {"a weight after =", "Q {=%100%a ~%-33.3%b}", "1 [] Q | a=100 b=-33.3"},
            {"true", "Q {T}", "1 [] Q | ○=100 ×=0"},
            {"false, long form", "Q {FALSE#no#yes}", "1 [] Q | ○=0 ×=100 feedback-dropped"},
            {"general and per-answer feedback", "Q {=a#good ~b#bad ####Because.}",
             "1 [] Q | a=100 b=0 explanation Because. feedback-dropped"},
            {"escapes", R"(1\=1\: a\~b\#c\{d\}\n2\\x {=\~a\= ~b})",
             "1 [] 1=1: a~b#c{d}\n2\\x | ~a==100 b=0"},
            {"missing word", "The sky is {=blue ~green} today.",
             "1 [] The sky is （　　） today. | blue=100 green=0"},
            {"comments, name, html",
             "// c\n::N::[html]<p>Q&amp;A<img src\\=\"x\"></p>{=<b>a</b> ~b}",
             "2 [] Q&A | a=100 b=0 image-dropped(the question text)"},
            {"plain and markdown stay as written", "[plain]<b>Q</b>{=[markdown]*a* ~b}",
             "1 [] <b>Q</b> | *a*=100 b=0"},
            {"category", "$CATEGORY: $course$/top/Default/Unit 1\n\nQ{=a ~b}",
             "3 [Unit 1] Q | a=100 b=0"},
            {"short answer", "::S::Q{=a =b}", "1 [] Q | skip skip-type(short answer,S)"},
            {"numerical", "Q{#1822:5}", "1 [] Q | skip skip-type(numerical,Q)"},
            {"matching", "Q{=a -> 1 =b -> 2}", "1 [] Q | skip skip-type(matching,Q)"},
            {"essay", "Q{}", "1 [] Q | skip skip-type(essay,Q)"},
            {"description", "Read this first, then answer the questions below.",
             "1 [] Read this first, then answer the questions below. | "
             "skip skip-type(description,Read this first, then answer t…)"},
            {"several blanks", "{=a ~b} and {=c ~d}",
             "1 [] （　　） and （　　） | skip skip-several-blanks"},
            {"unpaired braces", "Q {=a ~b", "1 [] Q {=a ~b | skip skip-braces"},
            {"answers without spaces", "Q{=a~b~c}", "1 [] Q | a=100 b=0 c=0 " + noSpace},
            {"~= for =", "Q{~=a ~b}", "1 [] Q | a=100 b=0 gift-tilde-equals"},
            {"text before the first answer", "Q{a ~b =c}",
             "1 [] Q | a=0 b=0 c=100 gift-text-before-answers"},
            {"an empty answer", "Q{=a ~ ~b}", "1 [] Q | a=100 b=0 gift-empty-answer"},
            {"true/false in lower case", "Q{true}", "1 [] Q | ○=100 ×=0 gift-lower-case"},
            {"no blank line after a closing brace, nor before a name",
             "A{=a ~b}\nB{=c ~d}\n::C::C{=e ~f}\nThe sky is {=blue ~red}\ntoday.",
             "1 [] A | a=100 b=0\n2 [] B | c=100 d=0 " + noBlank + "\n" + "3 [] C | e=100 f=0 " +
                 noBlank + "\n" + "4 [] The sky is （　　）\ntoday. | blue=100 red=0 " + noBlank},
            {"no blank line around a category", "A{=a ~b}\n$CATEGORY: G\nB{=c ~d}",
             "2 note " + noBlank + "\n1 [] A | a=100 b=0\n" + "3 [G] B | c=100 d=0 " + noBlank},
            {"CP932 and CR LF", "\x93\xFA\x96\x7B\r\n{=a\r\n~b}", "1 [] 日本 | a=100 b=0"},
            {"a GIFT file of each type", "@gift-types.gift",
             "6 [第1章 基礎] 安全なパスワードはどれですか。 | password=0 k7#Lq&9v!Xw2=100 123456=0 "
             "explanation 長く、推測されにくいものが安全です。 image-dropped(the question text) "
             "feedback-dropped\n"
             "15 [第1章 基礎] 有効な対策をすべて選んでください。 | 更新プログラムを適用する=50 "
             "ウイルス対策ソフトを使う=50 添付ファイルをすぐ開く=-100 format 1\n"
             "23 [第1章 基礎] 公開鍵は秘密にしなければならない。 | ○=0 ×=100 "
             "explanation 秘密にするのは秘密鍵です。\n"
             "26 [第1章 基礎] 日本の首都は（　　）です。 | 東京=100 大阪=0 京都=0\n"
             "28 [第1章 基礎] VPN は何の略ですか。 | skip skip-type(short answer,略語)\n"
             "30 [第1章 基礎] HTTPS の標準のポート番号は。 | skip skip-type(numerical,ポート)\n"
             "32 [第1章 基礎] 用語と意味を結びなさい。 | skip skip-type(matching,組み合わせ)\n"
             "34 [第1章 基礎] 多要素認証を説明しなさい。 | skip skip-type(essay,説明)\n"
             "36 [第1章 基礎] 次の問いに答えなさい。 | skip skip-type(description,はじめに)\n"
             "38 [第1章 基礎] （　　） は共通鍵暗号、（　　） は公開鍵暗号です。 | skip "
             "skip-several-blanks"},
        });
}

TEST(PlatformImport, Aiken) {
    expectReads(
        readAiken,
        {
            {"dots and a blank line", "Q1\nA. a\nB. b\nANSWER: B\n\nQ2\nA. c\nB. d\nANSWER: A",
             "1 [] Q1 | a=0 b=100\n6 [] Q2 | c=100 d=0"},
            {"brackets, no spaces, no blank line",
             "Q1\nA)a\nB)b\nANSWER:A\nQ2\nA.c\nB.d\nANSWER: b",
             "1 [] Q1 | a=100 b=0\n5 [] Q2 | c=0 d=100"},
            {"question of several lines, a choice wrapped",
             "Line 1\nU.S. line 2\nA. a\nlong\nB. b\n"
             "ANSWER: A",
             "1 [] Line 1\nU.S. line 2 | a\nlong=100 b=0"},
            {"no answer line before the blank line", "Q1\nA. a\nB. b\n\nQ2\nA. c\nB. d\nANSWER: A",
             "1 [] Q1 | a=0 b=0\n5 [] Q2 | c=100 d=0"},
            {"answer past the choices", "Q\nA. a\nB. b\nANSWER: D", "1 [] Q | a=0 b=0 ?=0 ?=100"},
            {"answer no letter", "Q\nA. a\nB. b\nANSWER: AB",
             "1 [] Q | a=0 b=0 skip skip-answer-unreadable(AB)"},
            {"CR LF and a BOM", "\xEF\xBB\xBFQ\r\nA. a\r\nB. b\r\nANSWER: A\r\n",
             "1 [] Q | a=100 b=0"},
            {"the format's own example", "@aiken-sample.txt",
             "1 [] What is the correct answer to this question? | Is it this one?=0 "
             "Maybe this answer?=0 Possibly this one?=0 Must be this one!=100\n"
             "8 [] Which LMS has the most quiz import formats? | Moodle=100 ATutor=0 Claroline=0\n"
             "13 [] 日本の首都はどこですか。 | 東京=100 大阪=0"},
        });
}

TEST(PlatformImport, HtmlText) {
    struct Row {
        const char* html;
        const char* text;
        bool image;
    };
    const Row rows[] = {
        {"<p>a</p><p>b</p>", "a\nb", false},
        {"a<br>b<BR/>c<br><br>d", "a\nb\nc\n\nd", false},
        {"<div><div><p>a</p></div></div><div>b</div>", "a\nb", false},
        {"<ul><li>a</li><li>b</li></ul>", "a\nb", false},
        {"<table><tr><th>h1</th><th>h2</th></tr><tr><td>a</td><td>b</td></tr></table>",
         "h1 h2\na b", false},
        {"<h1>T</h1>x<hr>y<h6>z</h6>", "T\nx\ny\nz", false},
        {"  a \n\t b  <b>c</b>d ", "a b cd", false},
        {"&lt;&gt;&amp;&quot;&apos;&#65;&#x3042;&eacute;&hellip;&copy;", "<>&\"'Aあé…©", false},
        {"a&nbsp;&nbsp;b&nbsp;",
         "a\xC2\xA0\xC2\xA0"
         "b",
         false},
        {"&unknown; & &#xZZ; &;", "&unknown; & &#xZZ; &;", false},
        {"x<img src=\"a.png\" alt='>'>y", "xy", true},
        {"a<!-- <p>b</p> -->c<script>d</script>e<style>p{}</style>", "ace", false},
        {"1 < 2 and x<y", "1 < 2 and x<y", false},
        {"<p title=\"a>b\">t</p>", "t", false},
    };
    for (const Row& row : rows) {
        const HtmlText text = plainTextFromHtml(row.html);
        EXPECT_EQ(text.text, row.text) << row.html;
        EXPECT_EQ(text.droppedImage, row.image) << row.html;
    }
}

} // namespace
