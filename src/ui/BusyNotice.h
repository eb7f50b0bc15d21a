#pragma once

#include <QDialog>

class QLabel;

namespace orvalin {

// A small window saying what the program is busy with, while it works on the
// user-interface thread and cannot answer.
class BusyNotice final : public QDialog {
    Q_OBJECT

public:
    explicit BusyNotice(QWidget* centreOn);

    // Shows the text at once, without waiting for the event loop.
    void setText(const QString& text);

private:
    QLabel* text_;
};

// The wait cursor for as long as the object lives.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace orvalin
