#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace orvalin::test {

// Drives modal dialogs the way a user does while their exec() runs. Each
// step is called with the active modal dialog of its type every few
// milliseconds until it returns true, and again now and then while that
// dialog stays open (a file dialog ignores accept() until it has listed its
// folder): a step is done only when its dialog has closed. After ten seconds
// the driver gives up: it closes whatever modal is still open and fails the
// test, so that a failing test cannot hang. Steps that never found their
// dialog end with the driver.
class ModalDriver final : public QObject {
public:
    template <typename T>
    void on(std::function<bool(T&)> step)
    {
        struct State {
            bool stepped = false;
            QPointer<T> handled;
            int ticksLeft = kTimeoutMs / kTickMs;
            int ticksSinceStep = 0;
        };
        auto* timer = new QTimer(this);
        auto state = std::make_shared<State>();
        QObject::connect(timer, &QTimer::timeout, timer, [timer, step, state] {
            if (state->stepped) {
                if (state->handled && ++state->ticksSinceStep % kRetryTicks == 0)
                    step(*state->handled);
            } else if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
                       dialog && dialog->isVisible() && step(*dialog)) {
                state->stepped = true;
                state->handled = dialog;
            }
            const bool closed = state->stepped && (!state->handled || !state->handled->isVisible());
            if (!closed && --state->ticksLeft > 0)
                return;
            timer->stop();
            timer->deleteLater();
            if (!closed && (state->stepped || QApplication::activeModalWidget()))
                giveUp();
        });
        timer->start(kTickMs);
    }

private:
    static constexpr int kTickMs = 5;
    static constexpr int kTimeoutMs = 10000;
    static constexpr int kRetryTicks = 50;

    static void giveUp()
    {
        for (int attempt = 0; attempt < 10 && QApplication::activeModalWidget(); ++attempt) {
            QWidget* modal = QApplication::activeModalWidget();
            modal->close();
            modal->hide();
        }
        QTest::qFail("a scripted dialog step did not end within ten seconds", __FILE__, __LINE__);
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
