#pragma once

#include <QFont>
#include <QWidget>
#include <functional>
#include <map>

#include "DialogTemplates.h"

// Creates a dialog's controls from its template: each at its rectangle
// (dialog units times 1.5 px, shifted by the frame the window draws itself),
// named by its id ("1001") so that code and tests find it, in the
// template's order, which is also the tab order.

// Makes the control for a template entry, or returns nullptr to get the
// standard control of its kind.
using ControlFactory = std::function<QWidget*(const ControlTemplate&, QWidget* parent)>;

class DialogControls {
  public:
    QWidget* Get(int id) const;
    template <class T>
    T* Get(int id) const {
        return qobject_cast<T*>(Get(id));
    }
    void Add(int id, QWidget* control) { m_byId[id] = control; }

  private:
    std::map<int, QWidget*> m_byId;
};

DialogControls BuildDialogControls(QWidget* dialog, const DialogTemplate& layout, int framePixels,
                                   const ControlFactory& factory = {});

// Sets up a captioned dialog from its template: title, font, controls, and
// the template's fixed size as its client area.
DialogControls BuildCaptionedDialog(QWidget* dialog, int templateId);

// The pixel rectangle of a control inside a dialog whose frame takes
// `framePixels` on each side.
QRect ControlRect(const ControlTemplate& control, int framePixels);

// The dialogs' font: 9-point SimSun where it is installed, else an
// installed font with Chinese characters of that size.
QFont DialogFont();
// A fixed-pitch font of the same size, so that the columns of a natural
// form line up.
QFont FixedPitchFont();
