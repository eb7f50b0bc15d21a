#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QTimer>

#include <functional>
#include <memory>

namespace orvalin::test {

// Drives modal dialogs the way a user does while their exec() runs. Each
// step is called with the active modal dialog of its type every few
// milliseconds until it returns true; it gives up after ten seconds, so that
// a failing test cannot hang. Steps that never ran end with the driver.
class ModalDriver final : public QObject {
public:
    template <typename T>
    void on(std::function<bool(T&)> step)
    {
        auto* timer = new QTimer(this);
        auto remaining = std::make_shared<int>(2000);
        QObject::connect(timer, &QTimer::timeout, timer, [timer, step, remaining] {
            auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
            if ((dialog && dialog->isVisible() && step(*dialog)) || --*remaining == 0) {
                timer->stop();
                timer->deleteLater();
            }
        });
        timer->start(5);
    }
};

// The control of type T with the given accessible name, or null.
template <typename T>
T* findNamed(const QWidget& root, const QString& accessibleName)
{
    for (T* control : root.findChildren<T*>()) {
        if (control->accessibleName() == accessibleName)
            return control;
    }
    return nullptr;
}

// The button with this caption (mnemonic included), or null.
inline QAbstractButton* findButton(const QWidget& root, const QString& caption)
{
    for (QAbstractButton* button : root.findChildren<QAbstractButton*>()) {
        if (button->text() == caption)
            return button;
    }
    return nullptr;
}

// The label whose text starts with the given words, or null.
inline QLabel* findLabel(const QWidget& root, const QString& start)
{
    for (QLabel* label : root.findChildren<QLabel*>()) {
        if (label->text().startsWith(start))
            return label;
    }
    return nullptr;
}

} // namespace orvalin::test
