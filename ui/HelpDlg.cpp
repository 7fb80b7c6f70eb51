#include "HelpDlg.h"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

#include "DialogBuilder.h"
#include "FuncHelpTable.h"
#include "WindowStacking.h"
#include "resource.h"

namespace {

constexpr int kEntryRole = Qt::UserRole;
// Between the help window and the window it is opened from.
constexpr int kGapPixels = 8;

}  // namespace

QString FormatFuncHelp(const CFuncHelp& help) {
    const QString fields[] = {help.name, help.title, help.purpose, help.usage};
    const QString format = QString::fromUtf8(kFuncHelpFormat);
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

CHelpDlg::CHelpDlg(QWidget* owner) : QDialog(owner) {
    // A caption with a close box, and a frame that cannot be resized.
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    const DialogControls controls = BuildCaptionedDialog(this, IDD_HELP);
    m_listFunc = controls.Get<QListWidget>(IDC_FUNC_LIST);
    m_editDescription = controls.Get<QPlainTextEdit>(IDC_FUNC_TEXT);
    connect(controls.Get<QPushButton>(IDCANCEL), &QPushButton::clicked, this, &QDialog::reject);
    connect(m_listFunc, &QListWidget::currentRowChanged, this, &CHelpDlg::OnSelChangeFuncList);
    OnInitDialog();
    if (owner) {
        PlaceBeside(owner);
        KeepAboveOwner(this, owner);
    }
}

CHelpDlg::~CHelpDlg() = default;

void CHelpDlg::PlaceBeside(const QWidget* owner) {
    // Below the owner, else right of it, else above or left: never over
    // its buttons, so that the help button can open another window.
    const QRect ownerFrame = owner->frameGeometry();
    const QScreen* screen = owner->screen();
    const QRect available = screen ? screen->availableGeometry() : QRect();
    const QPoint candidates[] = {
        ownerFrame.bottomLeft() + QPoint(0, kGapPixels),
        ownerFrame.topRight() + QPoint(kGapPixels, 0),
        ownerFrame.topLeft() - QPoint(0, height() + kGapPixels),
        ownerFrame.topLeft() - QPoint(width() + kGapPixels, 0),
    };
    for (const QPoint& topLeft : candidates) {
        if (available.isEmpty() || available.contains(QRect(topLeft, size()))) {
            move(topLeft);
            return;
        }
    }
    // A screen too small for all of them: below, pulled back onto it.
    QPoint fallback = candidates[0];
    fallback.setX(std::clamp(fallback.x(), available.left(),
                             std::max(available.left(), available.right() - width())));
    fallback.setY(std::clamp(fallback.y(), available.top(),
                             std::max(available.top(), available.bottom() - height())));
    move(fallback);
}

void CHelpDlg::OnInitDialog() {
    for (const FuncHelpText& text : FuncHelpTexts()) {
        // The sorted list places the name; the item keeps which entry it is.
        auto* item = new QListWidgetItem(QString::fromUtf8(text.name));
        item->setData(kEntryRole, static_cast<qulonglong>(m_entries.size()));
        m_listFunc->addItem(item);
        m_entries.push_back({QString::fromUtf8(text.name), QString::fromUtf8(text.title),
                             QString::fromUtf8(text.purpose), QString::fromUtf8(text.usage)});
    }
    m_listFunc->setCurrentRow(-1);
    m_strDescription.clear();
    UpdateData(false);
}

void CHelpDlg::OnSelChangeFuncList() {
    const QListWidgetItem* item = m_listFunc->currentItem();
    if (!item)
        return;
    const auto index = item->data(kEntryRole).toULongLong();
    m_strDescription = FormatFuncHelp(m_entries.at(index));
    UpdateData(false);
}

void CHelpDlg::UpdateData(bool saveAndValidate) {
    // The description box is read-only; only the member writes it.
    if (saveAndValidate)
        return;
    QString shown = m_strDescription;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_editDescription->setPlainText(shown);
}
