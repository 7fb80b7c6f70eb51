#include "GraphWindow.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QSaveFile>
#include <QSplitter>
#include <QSvgGenerator>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>
#include <limits>

#include "ExpCompute.h"
#include "GraphPlotter.h"
#include "GraphView.h"
#include "MessageBox.h"
#include "ValueTableModel.h"

namespace {

constexpr double kHalfRange = 10;
constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 560;
constexpr int kRangeSettleMs = 500;
// The label under the graph shows a pasted expression of thousands of
// characters only in part: laying it all out, wrapped, would hold the window's
// thread for longer than a frame at every curve, to show lines nobody
// reads. The screen reader's description keeps it whole.
constexpr qsizetype kLongestShownExpression = 500;

QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

// The start of `text` when it is longer than `longest` characters, marked
// as cut.
QString Shortened(QString text, qsizetype longest) {
    if (text.size() <= longest)
        return text;
    const qsizetype end = text.at(longest).isLowSurrogate() ? longest - 1 : longest;
    text.truncate(end);
    return text + QChar(0x2026);
}

// `value` rounded to about three digits of `span`, its trailing zeros
// dropped, with a true minus sign: what is read out, not computed with.
QString SpokenNumber(double value, double span) {
    const int exponent = span > 0 ? static_cast<int>(std::floor(std::log10(span))) - 2 : 0;
    QString text = QString::fromStdString(FormatTickLabel(value, exponent));
    const qsizetype mantissaEnd = text.indexOf(QLatin1Char('e'));
    QString mantissa = text.left(mantissaEnd < 0 ? text.size() : mantissaEnd);
    const QString rest = text.mid(mantissa.size());
    if (mantissa.contains(QLatin1Char('.'))) {
        while (mantissa.endsWith(QLatin1Char('0')))
            mantissa.chop(1);
        if (mantissa.endsWith(QLatin1Char('.')))
            mantissa.chop(1);
    }
    text = mantissa + rest;
    if (text == QStringLiteral("-0"))
        text = QStringLiteral("0");
    return text.replace(QLatin1Char('-'), QChar(0x2212));
}

}  // namespace

GraphWindow::GraphWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("graphWindow"));
    setWindowTitle(tr("函数图像"));
    BuildControls();
    CreateActions();
    resize(kDefaultWidth, kDefaultHeight);
    UpdateDescription();
}

GraphWindow::~GraphWindow() = default;

void GraphWindow::BuildControls() {
    m_plotter = new GraphPlotter(this);
    connect(m_plotter, &GraphPlotter::Answered, this, &GraphWindow::OnAnswered);

    auto* variableLabel = new QLabel(tr("自变量(&V)："), this);
    m_variableBox = new QComboBox(this);
    m_variableBox->setObjectName(QStringLiteral("variableBox"));
    m_variableBox->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_variableBox->setAccessibleName(tr("自变量"));
    variableLabel->setBuddy(m_variableBox);
    connect(m_variableBox, &QComboBox::activated, this, &GraphWindow::OnVariablePicked);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("graphStatus"));
    m_status->setWordWrap(true);
    m_status->setTextFormat(Qt::PlainText);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_view = new GraphView(this);
    m_view->setObjectName(QStringLiteral("graphView"));
    m_view->setAccessibleName(tr("函数图像"));
    m_rangeSettled.setSingleShot(true);
    m_rangeSettled.setInterval(kRangeSettleMs);
    connect(&m_rangeSettled, &QTimer::timeout, this,
            [this] { emit XRangeChanged(m_view->XLow(), m_view->XHigh()); });
    connect(m_view, &GraphView::ViewChanged, this, [this] {
        Ask();
        UpdateDescription();
        m_rangeSettled.start();
    });
    connect(m_view, &GraphView::MarkerMoved, this, &GraphWindow::UpdateDescription);

    m_model = new ValueTableModel(this);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("valueTable"));
    m_table->setAccessibleName(tr("数值表"));
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setTabKeyNavigation(false);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);

    auto* exportButton = new QToolButton(this);
    exportButton->setObjectName(QStringLiteral("exportButton"));
    exportButton->setText(tr("导出(&E)"));
    exportButton->setPopupMode(QToolButton::InstantPopup);
    exportButton->setMenu(new QMenu(exportButton));

    auto* top = new QHBoxLayout;
    top->addWidget(variableLabel);
    top->addWidget(m_variableBox);
    top->addWidget(m_status, 1);
    top->addWidget(exportButton);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(m_view);
    splitter->addWidget(m_table);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(splitter, 1);

    setTabOrder(m_variableBox, m_view);
    setTabOrder(m_view, m_table);
    setTabOrder(m_table, exportButton);
}

QAction* GraphWindow::AddAction(const QString& text, const QKeySequence& keys) {
    auto* action = new QAction(text, this);
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    addAction(action);
    findChild<QToolButton*>(QStringLiteral("exportButton"))->menu()->addAction(action);
    m_view->addAction(action);
    return action;
}

void GraphWindow::CreateActions() {
    m_view->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(AddAction(tr("复制图像(&C)"), QKeySequence(Qt::CTRL | Qt::Key_C)), &QAction::triggered,
            this, &GraphWindow::CopyPicture);
    connect(AddAction(tr("保存图像(&S)..."), QKeySequence(Qt::CTRL | Qt::Key_S)),
            &QAction::triggered, this, &GraphWindow::AskToSavePicture);
    connect(AddAction(tr("复制数值表(&T)"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)),
            &QAction::triggered, this, &GraphWindow::CopyTable);
    connect(AddAction(tr("保存数值表(&A)..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)),
            &QAction::triggered, this, &GraphWindow::AskToSaveTable);
}

void GraphWindow::Follow(const QString& expression, const VarTable& variables) {
    m_expression = StripWhitespace(expression.toStdString());
    m_variables = variables;
    Ask();
}

void GraphWindow::SetXRange(double low, double high) {
    m_view->SetXRange(low, high);
}

bool GraphWindow::IsBusy() const {
    return m_plotter->IsBusy();
}

void GraphWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_stale)
        Ask();
}

void GraphWindow::hideEvent(QHideEvent* event) {
    // A hidden graph costs nothing; it catches up when shown.
    m_plotter->Cancel();
    m_stale = true;
    QWidget::hideEvent(event);
}

void GraphWindow::Ask() {
    if (!isVisible()) {
        m_stale = true;
        return;
    }
    m_stale = false;
    GraphQuestion question;
    question.expression = m_expression;
    question.variables = m_variables;
    question.pickedVariable = m_picked;
    question.sample.xLow = m_view->XLow();
    question.sample.xHigh = m_view->XHigh();
    question.sample.pixelWidth = std::max(1, m_view->width());
    question.sample.pixelHeight = std::max(1, m_view->height());
    question.sample.yRange = m_view->FixedYRange();
    question.xTicks = XAxisTicks(question.sample.xLow, question.sample.xHigh,
                                 question.sample.pixelWidth, m_view->font());
    m_plotter->Ask(std::move(question));
}

void GraphWindow::OnAnswered(const std::shared_ptr<const GraphAnswer>& answer) {
    m_view->SetAnswer(answer);
    m_model->SetRows(answer->rows, FromUtf8(answer->variable));
    UpdateVariableBox(*answer);
    UpdateDescription();
}

void GraphWindow::UpdateVariableBox(const GraphAnswer& answer) {
    // The one undefined name is the variable, with nothing to pick; with
    // none undefined, any of the grid's names the expression reads.
    const bool picks = answer.undefinedNames.empty() && !answer.gridNames.empty();
    QStringList names;
    if (picks) {
        for (const std::string& name : answer.gridNames)
            names << FromUtf8(name);
    } else if (!answer.variable.empty()) {
        names << FromUtf8(answer.variable);
    }
    QStringList shown;
    for (int i = 0; i < m_variableBox->count(); ++i)
        shown << m_variableBox->itemText(i);
    if (shown != names) {
        m_variableBox->clear();
        m_variableBox->addItems(names);
    }
    m_variableBox->setCurrentIndex(static_cast<int>(names.indexOf(FromUtf8(answer.variable))));
    m_variableBox->setEnabled(picks && names.size() > 1);
}

void GraphWindow::OnVariablePicked(int index) {
    if (index < 0)
        return;
    const QString name = m_variableBox->itemText(index);
    if (name.toStdString() == m_picked)
        return;
    m_picked = name.toStdString();
    // The graph opens around the value the variable has.
    const double value = m_variables.Find(m_picked).value_or(0);
    SetXRange(value - kHalfRange, value + kHalfRange);
}

QString GraphWindow::Reason() const {
    const GraphAnswer* answer = m_view->Answer();
    if (!answer || answer->expression.empty())
        return tr("没有表达式，无法画出图像。");
    if (answer->outOfMemory)
        return tr("内存不足，无法画出图像。");
    if (answer->parseError) {
        const std::string name = answer->parseError->GetErrorText();
        return tr("表达式有误（%1），无法画出图像。")
            .arg(QCoreApplication::translate("EngineTexts", name.c_str()));
    }
    if (answer->undefinedNames.size() > 1) {
        QStringList names;
        for (const std::string& name : answer->undefinedNames)
            names << FromUtf8(name);
        return tr("%1 都未定义：只能有一个变量未定义，图像画的就是它。").arg(names.join(tr("、")));
    }
    if (answer->variable.empty())
        return tr("表达式中没有变量，无法画出图像。");
    return {};
}

QString GraphWindow::Description() const {
    return Description(std::numeric_limits<qsizetype>::max());
}

QString GraphWindow::Description(qsizetype longestExpression) const {
    const QString reason = Reason();
    if (!reason.isEmpty())
        return reason;
    const GraphAnswer& answer = *m_view->Answer();
    const ValueRange y = m_view->ShownYRange();
    const double xSpan = m_view->XHigh() - m_view->XLow();
    QString description =
        tr("y = %1，%2 从 %3 到 %4，y 从 %5 到 %6")
            .arg(Shortened(FromUtf8(answer.expression), longestExpression),
                 FromUtf8(answer.variable), SpokenNumber(m_view->XLow(), xSpan),
                 SpokenNumber(m_view->XHigh(), xSpan), SpokenNumber(y.low, y.high - y.low),
                 SpokenNumber(y.high, y.high - y.low));
    if (answer.curve.pieces.empty())
        description += tr("（这一段没有值）");
    return description;
}

QString GraphWindow::MarkerText() const {
    const std::optional<CurvePoint> marker = m_view->Marker();
    const GraphAnswer* answer = m_view->Answer();
    if (!marker || !answer)
        return {};
    return tr("%1 = %2 时 y = %3")
        .arg(FromUtf8(answer->variable), FromUtf8(FormatResult(marker->x)),
             FromUtf8(FormatResult(marker->y)));
}

void GraphWindow::UpdateDescription() {
    const QString description = Description();
    const QString marker = MarkerText();
    m_status->setText(marker.isEmpty() ? Description(kLongestShownExpression) : marker);
    // A screen reader speaks a change to the focused graph's description:
    // the trace is read out as it moves.
    m_view->setAccessibleDescription(marker.isEmpty() ? description
                                                      : description + tr("；") + marker);
}

QImage GraphWindow::Picture() const {
    const qreal ratio = m_view->devicePixelRatioF();
    QImage image(m_view->size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    QPainter painter(&image);
    m_view->Render(painter, QRectF(QPointF(0, 0), m_view->size()));
    return image;
}

bool GraphWindow::SavePicture(const QString& path) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator generator;
        generator.setOutputDevice(&file);
        generator.setSize(m_view->size());
        generator.setViewBox(QRect(QPoint(0, 0), m_view->size()));
        generator.setTitle(windowTitle());
        generator.setDescription(Description());
        QPainter painter(&generator);
        m_view->Render(painter, QRectF(QPointF(0, 0), m_view->size()));
        painter.end();
    } else if (!Picture().save(&file, "PNG")) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool GraphWindow::SaveTable(const QString& path) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(m_model->ToCsv().toUtf8());
    return file.commit();
}

void GraphWindow::CopyPicture() const {
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setImage(Picture());
}

void GraphWindow::CopyTable() const {
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setText(m_model->ToCsv());
}

void GraphWindow::AskToSavePicture() {
    const QString png = tr("PNG 图像 (*.png)");
    const QString svg = tr("SVG 图像 (*.svg)");
    QString filter = png;
    QString path = QFileDialog::getSaveFileName(this, tr("保存图像"), QString(),
                                                png + QStringLiteral(";;") + svg, &filter);
    if (path.isEmpty())
        return;
    const QString suffix = filter == svg ? QStringLiteral(".svg") : QStringLiteral(".png");
    if (QFileInfo(path).suffix().isEmpty())
        path += suffix;
    if (!SavePicture(path))
        ShowWriteError(path);
}

void GraphWindow::AskToSaveTable() {
    QString path =
        QFileDialog::getSaveFileName(this, tr("保存数值表"), QString(), tr("CSV 文件 (*.csv)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    if (!SaveTable(path))
        ShowWriteError(path);
}

void GraphWindow::ShowWriteError(const QString& path) {
    ShowMessageBox(this, tr("无法写入 %1。").arg(path), windowTitle(), QMessageBox::Warning);
}
