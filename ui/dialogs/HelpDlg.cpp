#include "HelpDlg.h"

#include <QCoreApplication>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <algorithm>

#include "DialogFonts.h"
#include "FuncHelpTable.h"
#include "WindowStacking.h"
#include "ui_HelpDlg.h"

namespace {

constexpr int kEntryRole = Qt::UserRole;
// Between the help window and the window it is opened from.
constexpr int kGapPixels = 8;
// What a window manager's frame is allowed on each side.
constexpr int kFrameAllowance = 8;

QString Translated(const char* helpText) {
    return QCoreApplication::translate("FuncHelp", helpText);
}

}  // namespace

QString FormatFuncHelp(const CFuncHelp& help) {
    const QString fields[] = {help.name, help.title, help.purpose, help.usage};
    const QString format = QCoreApplication::translate("FuncHelp", kFuncHelpFormat);
    QString text;
    qsizetype from = 0;
    for (const QString& field : fields) {
        const qsizetype at = format.indexOf(QStringLiteral("%s"), from);
        text += format.mid(from, at - from);
        text += field;
        from = at + 2;
    }
    text += format.mid(from);
    return text;
}

HelpDlg::HelpDlg(QWidget* owner, const HelpDlg* previous) : QDialog(owner) {
    // A caption with a close box, and a frame that cannot be resized.
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFont(DialogFont());
    Ui::HelpDlg form;
    form.setupUi(this);
    FitLabelsToTheirBoxes(this);
    m_listFunc = form.functionList;
    m_editDescription = form.functionDescription;
    connect(form.closeButton, &QPushButton::clicked, this, &QDialog::reject);
    // By the selection: the list's first focus marks an entry without
    // selecting it, and nothing is described before a choice.
    connect(m_listFunc, &QListWidget::itemSelectionChanged, this, &HelpDlg::OnSelChangeFuncList);
    // Every press opens a new window, so a closed one is never shown again.
    connect(this, &QDialog::finished, this, &QObject::deleteLater);
    OnInitDialog();
    if (owner) {
        FitScreen(owner->screen());
        Place(owner, previous);
        KeepAboveOwner(this, owner);
    }
}

HelpDlg::~HelpDlg() = default;

namespace {

qint64 Area(const QRect& r) {
    return r.isEmpty() ? 0 : static_cast<qint64>(r.width()) * r.height();
}

QPoint PulledOnto(const QRect& available, QPoint topLeft, const QSize& size) {
    topLeft.setX(std::clamp(topLeft.x(), available.left(),
                            std::max(available.left(), available.right() + 1 - size.width())));
    topLeft.setY(std::clamp(topLeft.y(), available.top(),
                            std::max(available.top(), available.bottom() + 1 - size.height())));
    return topLeft;
}

}  // namespace

QPoint PlaceHelpWindow(const QRect& ownerFrame, const QSize& size, const QRect& available,
                       const std::optional<QPoint>& previous, int cascadeStep, int gap) {
    const auto fits = [&](const QPoint& topLeft) {
        return available.isEmpty() || available.contains(QRect(topLeft, size));
    };
    const auto covered = [&](const QPoint& topLeft) {
        return Area(QRect(topLeft, size).intersected(ownerFrame));
    };
    if (previous) {
        // Where the next step would leave the screen, the run starts again
        // at its left or top edge.
        QPoint next = *previous + QPoint(cascadeStep, cascadeStep);
        if (!available.isEmpty() && next.x() + size.width() > available.right() + 1)
            next.setX(available.left());
        if (!available.isEmpty() && next.y() + size.height() > available.bottom() + 1)
            next.setY(available.top());
        return PulledOnto(available, next, size);
    }
    // Never over the owner's buttons where there is room, so that the help
    // button can open another window.
    const QPoint beside[] = {
        ownerFrame.bottomLeft() + QPoint(0, 1 + gap),
        ownerFrame.topRight() + QPoint(1 + gap, 0),
        ownerFrame.topLeft() - QPoint(0, size.height() + gap),
        ownerFrame.topLeft() - QPoint(size.width() + gap, 0),
    };
    for (const QPoint& topLeft : beside) {
        if (fits(topLeft))
            return topLeft;
    }
    QPoint best = PulledOnto(available, beside[0], size);
    for (const QPoint& topLeft : beside) {
        const QPoint onScreen = PulledOnto(available, topLeft, size);
        if (covered(onScreen) < covered(best))
            best = onScreen;
    }
    return best;
}

void HelpDlg::FitScreen(const QScreen* screen) {
    if (!screen)
        return;
    // The window manager's frame and caption come on top of the window.
    const int caption = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    const QSize room = screen->availableGeometry().size() -
                       QSize(2 * kFrameAllowance, caption + 2 * kFrameAllowance);
    if (width() <= room.width() && height() <= room.height())
        return;
    // Too large for the screen (a large scale factor): the controls keep
    // their places on a surface that scrolls inside the smaller window.
    auto* surface = new QWidget;
    surface->setFixedSize(size());
    for (QWidget* control : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (control->isWindow())
            continue;
        // A control the form hides stays hidden; the others are shown
        // with the window.
        const bool shown =
            !(control->isHidden() && control->testAttribute(Qt::WA_WState_ExplicitShowHide));
        control->setParent(surface);
        control->setVisible(shown);
    }
    auto* scroller = new QScrollArea(this);
    scroller->setObjectName(QStringLiteral("helpScroller"));
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidget(surface);
    setFixedSize(size().boundedTo(room));
    scroller->setGeometry(rect());
}

void HelpDlg::Place(const QWidget* owner, const HelpDlg* previous) {
    const QScreen* screen = owner->screen();
    const QRect available = screen ? screen->availableGeometry() : QRect();
    // About a caption's height: the previous window's own where the window
    // manager has framed it.
    int step = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    std::optional<QPoint> previousCorner;
    if (previous) {
        previousCorner = previous->frameGeometry().topLeft();
        const int caption = previous->geometry().top() - previous->frameGeometry().top();
        if (caption > 0)
            step = caption;
    }
    // The window goes on the screen with its caption, about one step high.
    move(PlaceHelpWindow(owner->frameGeometry(), size() + QSize(0, step), available, previousCorner,
                         step, kGapPixels));
}

void HelpDlg::OnInitDialog() {
    for (const FuncHelpText& text : FuncHelpTexts()) {
        // The sorted list places the name; the item keeps which entry it is.
        auto* item = new QListWidgetItem(QString::fromUtf8(text.name));
        item->setData(kEntryRole, static_cast<qulonglong>(m_entries.size()));
        m_listFunc->addItem(item);
        m_entries.push_back({QString::fromUtf8(text.name), Translated(text.title),
                             Translated(text.purpose), Translated(text.usage)});
    }
    m_listFunc->setCurrentRow(-1);
    m_editDescription->clear();
}

void HelpDlg::OnSelChangeFuncList() {
    const QList<QListWidgetItem*> selected = m_listFunc->selectedItems();
    if (selected.isEmpty())
        return;
    const QListWidgetItem* item = selected.front();
    const auto index = item->data(kEntryRole).toULongLong();
    m_editDescription->setPlainText(FormatFuncHelp(m_entries.at(index)));
}
