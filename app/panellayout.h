#pragma once

#include "vantorcontrol.h"

#include <QMap>
#include <QVector>

// Where the main window puts its panels: the boxes of each control column and the share
// of the room each part of the window takes, for a road direction and the parts shown.
// The window applies it to its form; the names in the comments are the form's.
struct PanelLayout
{
    static constexpr int MaxColumns = 3;

    // 3 columns beside a horizontal road without the table, else 2.
    int columnCount = 2;
    // The boxes of each of the three columns (controls1Layout to controls3Layout), top to
    // bottom; the third is empty with two columns.
    QVector<QVector<VantorControl>> columns;

    // The controls (controlsWidget) span the width, or keep to their own width beside the
    // table; and fill the height, or keep to their own height.
    bool controlsFillWidth = true;
    bool controlsFillHeight = false;

    // Stretch factors: of the objects area row (horzRoadLayout) and of the row below it
    // (horzSpaceLayout) in the window; of the vertical road's column (vertRoadLayout) and
    // of the table and controls column (vertCtrlsLayout) in that row; of the table
    // (objectsTableBox) beside the controls.
    int roadRowStretch = 0;
    int lowerRowStretch = 0;
    int roadColumnStretch = 0;
    int controlsColumnStretch = 0;
    int tableStretch = 0;

    static PanelLayout arrange(bool drawVertical, bool tableShown, bool objectsShown);

    // A column is shown when at least one of its boxes is.
    bool isColumnShown(int column, const QMap<VantorControl, bool> &shown) const;
};
