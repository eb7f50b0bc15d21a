#pragma once

#include <QtTest>
#include <QtWidgets>

#include <functional>
#include <memory>
#include <optional>

namespace orvalin::test {

// Drives modal dialogs the way a user does while their exec() runs. A step
// is called with the active modal dialog of its type every few milliseconds
// until it returns true, then now and then again while that dialog stays open
// (a file dialog ignores accept() until it has listed its folder): it is done
// only when its dialog has closed. After ten seconds the driver gives up: it
// closes whatever modal is open and fails the test, so that none can hang.
// Steps that never found their dialog end with the driver.
class ModalDriver final : public QObject {
public:
    template <typename T>
    void on(std::function<bool(T&)> step)
    {
        struct State {
            QPointer<T> handled;
            int ticks = 0;
            int steppedAt = -1;
        };
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, timer, [timer, step, state = std::make_shared<State>()] {
            State& s = *state;
            auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
            if (s.steppedAt < 0 && dialog && dialog->isVisible() && step(*dialog)) {
                s.steppedAt = s.ticks;
                s.handled = dialog;
            } else if (s.steppedAt >= 0 && s.handled && (s.ticks - s.steppedAt) % kRetryTicks == 0) {
                step(*s.handled);
            }
            const bool closed = s.steppedAt >= 0 && (!s.handled || !s.handled->isVisible());
            if (!closed && ++s.ticks < kGiveUpTicks)
                return;
            timer->stop();
            timer->deleteLater();
            if (closed || (s.steppedAt < 0 && !QApplication::activeModalWidget()))
                return;
            for (int attempt = 0; attempt < 10 && QApplication::activeModalWidget(); ++attempt) {
                QWidget* modal = QApplication::activeModalWidget();
                modal->close();
                modal->hide();
            }
            QTest::qFail("a scripted dialog step did not end within ten seconds", __FILE__, __LINE__);
        });
        timer->start(kTickMs);
    }

private:
    static constexpr int kTickMs = 5;
    static constexpr int kGiveUpTicks = 10000 / kTickMs;
    static constexpr int kRetryTicks = 50;
};

// The first control of type T under root that matches; none ends the run.
template <typename T, typename Match>
T& control(const QWidget& root, const QString& what, Match matches)
{
    for (T* candidate : root.findChildren<T*>()) {
        if (matches(*candidate))
            return *candidate;
    }
    qFatal("no control %s", qPrintable(what));
}

template <typename T>
T& named(const QWidget& root, const QString& name)
{
    return control<T>(root, name, [&](T& c) { return c.accessibleName() == name; });
}
// By caption, mnemonic included.
inline QAbstractButton& button(const QWidget& root, const QString& caption)
{
    return control<QAbstractButton>(root, caption, [&](QAbstractButton& b) { return b.text() == caption; });
}
// By the start of its text.
inline QLabel& label(const QWidget& root, const QString& start)
{
    return control<QLabel>(root, start, [&](QLabel& l) { return l.text().startsWith(start); });
}

} // namespace orvalin::test
