#include "ui/number_box.h"

#include <QLineEdit>
#include <QValidator>

#include "common/number_input.h"

namespace tenmirel::ui {
namespace {

// Accepts everything, as the lenient parse does, but hands the box the ASCII
// forms of full-width number characters. Each of them is one UTF-16 unit, as
// its ASCII form is, so the cursor keeps its place.
class AsciiNumberValidator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int& /*position*/) const override {
    const QString ascii = QString::fromStdString(asciiNumberInput(input.toStdString()));
    if (ascii != input) input = ascii;
    return Acceptable;
  }
};

}  // namespace

void makeNumberBox(QLineEdit& box) {
  box.setValidator(new AsciiNumberValidator(&box));
  box.setInputMethodHints(kNumberBoxHints);
}

}  // namespace tenmirel::ui
