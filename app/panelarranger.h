#pragma once

#include "panellayout.h"
#include "vantorcontrol.h"

#include <QMap>
#include <QObject>
#include <QRect>

class QMainWindow;

namespace Ui {
class MainWindow;
}

// Applies a PanelLayout to the main window's form: puts the panels into their columns,
// the objects area and the table above or beside the panels, sets the size policies and
// stretch factors. The last steps run later on the event loop so that the widget tree
// settles between them. The window is kept inside the screen's available area: when the
// panels and the table need more width than is left, the panels narrow to their least
// width, then the table gives way down to a third of its width and scrolls its columns;
// only then do the panels scroll sideways instead of widening the window.
class PanelArranger : public QObject
{
    Q_OBJECT

public:
    PanelArranger(Ui::MainWindow &form, QMainWindow *window,
        const QMap<VantorControl, QWidget *> &boxes, QObject *parent = nullptr);

    // The area the window stays in; by default the available area of the window's screen.
    void setAvailableGeometry(const QRect &area) { m_available = area; }
    QRect availableGeometry() const;
    // Sizes the window to fit the available area and centres it there.
    void placeWindow();

    // A horizontal road runs above the table and the panels, a vertical one beside them.
    void placeObjectsArea(bool drawVertical);
    // Puts the panels into their columns and shows the columns holding a shown panel. The
    // objects area stays hidden and small until apply() has finished.
    void placePanels(const PanelLayout &layout, const QMap<VantorControl, bool> &shown);
    // Sets the size policies now; the stretch factors, the objects area and the panels'
    // width follow in two steps on the event loop.
    void apply(const PanelLayout &layout, bool objectsShown);
    void setStretchFactors(const PanelLayout &layout);

signals:
    // The stretch factors are set and the objects area is about to be shown again.
    void rearranged();
    // Every step of apply() has run.
    void finished();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The table keeps at least 1 / MinTableShare of the width its columns take.
    static constexpr int MinTableShare = 3;

    void doSetSizePolicies();
    void doFinishRearranging();
    void doReleaseObjectsArea();
    void doFitPanelsWidth();
    void doKeepWindowOnScreen();

    Ui::MainWindow &m_form;
    QMainWindow *m_window;
    const QMap<VantorControl, QWidget *> &m_boxes;
    PanelLayout m_layout;
    bool m_objectsShown = false;
    QRect m_available;
    int m_fittedWidth = -1;
    int m_fittedPreferredWidth = -1;
};
