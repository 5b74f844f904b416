// The small pieces of JSON the commands' --json reports are made of.
#pragma once

#include <string>

// `text` (UTF-8) as a JSON string, quotes included.
void appendJsonString(const std::string& text, std::string& out);

// "name": "value" and "name": number.
void appendJsonField(const char* name, const std::string& value, std::string& out);
void appendJsonNumber(const char* name, long long value, std::string& out);
