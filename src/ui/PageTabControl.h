#pragma once

#include <QPointer>
#include <QTabWidget>

#include <vector>

namespace orvalin {

// A tab control with one page per tab that gives the keyboard focus back to
// the control that had it when the user returns to a tab.
class PageTabControl final : public QTabWidget {
    Q_OBJECT

public:
    explicit PageTabControl(QWidget* parent = nullptr);

    // The new tab's index, or -1 when there is no page.
    int addPage(const QString& caption, QWidget* page);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void enterPage(int index);
    static QWidget* firstFocusableControl(QWidget* page);

    std::vector<QPointer<QWidget>> focusControls_;
};

} // namespace orvalin
