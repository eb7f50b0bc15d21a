#pragma once

#include "ui/DesktopServices.h"

#include <QDialog>

class QLineEdit;

namespace orvalin {

// The program's main window: the input file, Go, Options, Help and Exit.
// Go checks the input, offers the page text and runs the conversion.
class MainDialog final : public QDialog {
    Q_OBJECT

public:
    explicit MainDialog(const DesktopServices& services, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void go();
    void browse();
    void openOptions();
    void showTipOfTheDay();

    DesktopServices services_;
    QLineEdit* inputField_;
    bool firstShowDone_ = false;
};

} // namespace orvalin
