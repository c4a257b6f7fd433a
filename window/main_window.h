#ifndef ZORVIK_WINDOW_MAIN_WINDOW_H_
#define ZORVIK_WINDOW_MAIN_WINDOW_H_

#include <QWidget>
#include <cstdint>
#include <string_view>

class QLabel;
class QPushButton;

namespace zorvik {

class InputBox;
class OutputBox;

// The program's one window. Its controls come from the layout table; its
// behaviour is six handlers: the load handler, one input guard per input box,
// and the compute and clear buttons' click handlers.
class Form1 : public QWidget {
  Q_OBJECT

 public:
  // The most completed computations counted; further ones leave it there.
  static constexpr std::int16_t kMaxComputeCount = INT16_MAX;
  // The contact note shows from this many completed computations on.
  static constexpr std::int16_t kContactNoteAfter = 10;

  explicit Form1(QWidget* parent = nullptr);

  std::int16_t ComputeCount() const { return compute_count_; }

 private:
  // A box's conversion: throws RuntimeError when the text does not convert.
  using Conversion = void (*)(std::string_view text);

  void CreateControls();
  void FormLoad();
  // Keeps `box` convertible: a text its conversion rejects becomes "0".
  void InputGuard(InputBox* box, Conversion convert);
  void Command1Click();  // compute
  void Command2Click();  // clear

  InputBox* text1_ = nullptr;  // rent
  InputBox* text2_ = nullptr;  // years
  InputBox* text3_ = nullptr;  // yearly increase, percent
  OutputBox* text4_ = nullptr;
  QLabel* label4_ = nullptr;  // the contact note
  QPushButton* command1_ = nullptr;
  QPushButton* command2_ = nullptr;
  std::int16_t compute_count_ = 0;
};

}  // namespace zorvik

#endif  // ZORVIK_WINDOW_MAIN_WINDOW_H_
