#pragma once

#include <QDialog>

class QLineEdit;

namespace orvalin {

struct ConversionInput;

// Offers the proposed page text for editing before a conversion starts. OK
// takes the text and lets the run go ahead (exec() returns Accepted); Cancel,
// Esc or the window's close command call the run off.
class OutputTextDialog final : public QDialog {
    Q_OBJECT

public:
    explicit OutputTextDialog(ConversionInput& input, QWidget* parent = nullptr);

    void accept() override;

private:
    ConversionInput& input_;
    QLineEdit* textBox_;
};

} // namespace orvalin
