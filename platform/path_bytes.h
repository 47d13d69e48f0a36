// Names and paths as the system gives them, in wide characters and back. The bytes are
// read as UTF-8; a byte that is not part of a well-formed sequence becomes the lone
// surrogate U+DC00 + byte, which no UTF-8 text decodes to, so that for every byte
// string BytesFromWide(WideFromBytes(bytes)) == bytes.
#pragma once
#include <string>
#include <string_view>

std::wstring WideFromBytes(std::string_view bytes);
std::string BytesFromWide(std::wstring_view wide);
