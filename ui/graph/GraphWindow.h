#pragma once

#include <QImage>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <string>

#include "VarTable.h"

struct GraphAnswer;
class GraphPlotter;
class GraphView;
class ValueTableModel;
class QAction;
class QComboBox;
class QLabel;
class QTableView;

// "函数图像": the main window's expression drawn over its variable as it is
// typed, beside its table of values. The variable is the one name the grid
// does not define; with none undefined the user picks one of the grid's,
// the others keeping their values, and with several nothing is drawn and
// the window says why. The curve is sampled off the window's thread; a
// newer expression or view cancels the older one's work.
//
// The picture and the table leave the window through the clipboard
// (Ctrl+C, Ctrl+Shift+C) and files (PNG or SVG; CSV). A screen reader
// hears the graph described in words and reads the table.
class GraphWindow : public QWidget {
    Q_OBJECT
  public:
    explicit GraphWindow(QWidget* parent = nullptr);
    ~GraphWindow() override;

    // The main window's expression (blanks and all) and its grid now.
    void Follow(const QString& expression, const VarTable& variables);

    // The view's range of x, y fitted to the curve.
    void SetXRange(double low, double high);
    // What the graph shows, in words: what a screen reader speaks.
    QString Description() const;
    // Whether a curve is still being sampled.
    bool IsBusy() const;

    // The graph as shown, without the crosshair, at the view's size.
    QImage Picture() const;
    // Writes the picture, as SVG where `path` ends in .svg, else as PNG.
    bool SavePicture(const QString& path) const;
    // Writes the table of values as comma-separated values.
    bool SaveTable(const QString& path) const;

  signals:
    // The range of x changed and has since stood still for a moment: the
    // range to keep, written once a pan or a zoom ends.
    void XRangeChanged(double low, double high);

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void BuildControls();
    void CreateActions();
    QAction* AddAction(const QString& text, const QKeySequence& keys);
    void Ask();
    void OnAnswered(const std::shared_ptr<const GraphAnswer>& answer);
    void OnVariablePicked(int index);
    void UpdateVariableBox(const GraphAnswer& answer);
    void UpdateDescription();
    // The description with the expression cut after `longestExpression`
    // characters.
    QString Description(qsizetype longestExpression) const;
    // Why nothing is drawn; empty when something is.
    QString Reason() const;
    QString MarkerText() const;
    void CopyPicture() const;
    void CopyTable() const;
    void AskToSavePicture();
    void AskToSaveTable();
    void ShowWriteError(const QString& path);

    GraphView* m_view = nullptr;
    QTableView* m_table = nullptr;
    ValueTableModel* m_model = nullptr;
    QComboBox* m_variableBox = nullptr;
    QLabel* m_status = nullptr;
    GraphPlotter* m_plotter = nullptr;

    std::string m_expression;
    VarTable m_variables;
    // The grid's variable the user picked to draw over.
    std::string m_picked;
    // The expression changed while the window was hidden.
    bool m_stale = true;
    QTimer m_rangeSettled;
};
