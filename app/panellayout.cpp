#include "panellayout.h"

PanelLayout PanelLayout::arrange(bool drawVertical, bool tableShown, bool objectsShown)
{
    PanelLayout layout;
    layout.columnCount = !tableShown && !drawVertical ? 3 : 2;
    if (layout.columnCount == 3) {
        layout.columns = {
            { GeneralInfoControl, SendCommandsControl, FineTuningControl },
            { LimitationsControl },
            { RadarPositionControl, SaveAndRestartControl },
        };
    } else {
        layout.columns = {
            { GeneralInfoControl, SendCommandsControl, LimitationsControl },
            { FineTuningControl, RadarPositionControl, SaveAndRestartControl },
            {},
        };
    }

    // The objects area and the table take the room; the controls keep to their height
    // unless nothing else is there to fill it.
    layout.controlsFillHeight = !objectsShown && !tableShown && !drawVertical;
    // Beside the table (horizontal road) the controls keep their width; under it, or
    // alone, they span the window.
    layout.controlsFillWidth = !tableShown || drawVertical;

    // Horizontal road: the objects area above, the table and the controls below it.
    // Vertical road: the objects area in a left column beside the table and controls.
    layout.roadRowStretch = !drawVertical && objectsShown ? 3 : 0;
    // Without the table the panels need the height: they share it evenly with the scheme.
    layout.lowerRowStretch = drawVertical || tableShown ? 2 : 3;
    layout.roadColumnStretch = drawVertical && objectsShown ? 2 : 0;
    layout.controlsColumnStretch = 3;
    layout.tableStretch = tableShown ? 1 : 0;
    return layout;
}

bool PanelLayout::isColumnShown(int column, const QMap<VantorControl, bool> &shown) const
{
    for (VantorControl control : columns.value(column)) {
        if (shown.value(control))
            return true;
    }
    return false;
}
