#ifndef ZORVIK_WINDOW_UTF8_TEXT_H_
#define ZORVIK_WINDOW_UTF8_TEXT_H_

#include <QString>
#include <string_view>

namespace zorvik {

// The core and the layout data speak UTF-8; Qt speaks UTF-16.
inline QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace zorvik

#endif  // ZORVIK_WINDOW_UTF8_TEXT_H_
