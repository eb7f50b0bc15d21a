#include "ui/PageTabControl.h"

#include <QApplication>
#include <QEvent>
#include <QTabBar>

namespace orvalin {

PageTabControl::PageTabControl(QWidget* parent) : QTabWidget(parent)
{
    connect(this, &QTabWidget::currentChanged, this, &PageTabControl::enterPage);
}

int PageTabControl::addPage(const QString& caption, QWidget* page)
{
    if (!page)
        return -1;
    focusControls_.emplace_back(firstFocusableControl(page));
    page->installEventFilter(this);
    return addTab(page, caption);
}

bool PageTabControl::eventFilter(QObject* watched, QEvent* event)
{
    // A page is hidden before the focus leaves it, so this is the moment to
    // note which of its controls had the focus.
    if (event->type() == QEvent::Hide) {
        const int index = indexOf(qobject_cast<QWidget*>(watched));
        QWidget* focus = QApplication::focusWidget();
        if (index >= 0 && focus && widget(index)->isAncestorOf(focus))
            focusControls_[static_cast<std::size_t>(index)] = focus;
    }
    return QTabWidget::eventFilter(watched, event);
}

void PageTabControl::enterPage(int index)
{
    // A keyboard user moving along the tabs keeps the focus on them.
    if (index < 0 || tabBar()->hasFocus())
        return;
    QPointer<QWidget>& control = focusControls_[static_cast<std::size_t>(index)];
    if (!control || !control->isEnabled())
        control = firstFocusableControl(widget(index));
    if (control)
        control->setFocus(Qt::TabFocusReason);
}

QWidget* PageTabControl::firstFocusableControl(QWidget* page)
{
    for (QWidget* candidate = page->nextInFocusChain(); candidate && candidate != page;
         candidate = candidate->nextInFocusChain()) {
        if (page->isAncestorOf(candidate) && candidate->isEnabled() &&
            (candidate->focusPolicy() & Qt::TabFocus) && !candidate->isHidden())
            return candidate;
    }
    return nullptr;
}

} // namespace orvalin
