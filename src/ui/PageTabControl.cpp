#include "ui/PageTabControl.h"

#include <QApplication>
#include <QEvent>
#include <QProxyStyle>
#include <QTabBar>

#include <algorithm>

namespace orvalin {
namespace {

// The platform style with less room beside each tab's caption.
class CompactTabStyle final : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override
    {
        const int value = QProxyStyle::pixelMetric(metric, option, widget);
        return metric == PM_TabBarTabHSpace ? std::min(value, 12) : value;
    }
};

} // namespace

PageTabControl::PageTabControl(QWidget* parent) : QTabWidget(parent)
{
    // Six captions must fit in one row, as they do with the narrow tabs of
    // other desktops, rather than scroll out of sight.
    auto* style = new CompactTabStyle;
    style->setParent(this);
    tabBar()->setStyle(style);
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
