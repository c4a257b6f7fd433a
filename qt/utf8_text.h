#ifndef ZORVIK_QT_UTF8_TEXT_H_
#define ZORVIK_QT_UTF8_TEXT_H_

#include <QString>
#include <string_view>

namespace zorvik::qt {

// The core and the layout data speak UTF-8; Qt speaks UTF-16.
inline QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace zorvik::qt

#endif  // ZORVIK_QT_UTF8_TEXT_H_
