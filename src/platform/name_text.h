// File names and file contents are bytes; what is shown, searched or sorted is text.
#pragma once
#include <QString>
#include <string>

namespace kelvorn {

// The text of bytes: UTF-8, or Latin-1 where the bytes are not valid UTF-8.
QString decodeName(const std::string& bytes);

}  // namespace kelvorn
