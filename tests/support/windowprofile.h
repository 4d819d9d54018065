#pragma once

#include <QUrl>

// The main window's configuration file as the window tests write it before opening the
// window: one profile on the server at url, panels 0 to 9 shown, the objects table and
// the scheme's objects as given, the road horizontal or vertical.
struct WindowProfile
{
    QUrl url;
    bool drawVertical = false;
    bool tableShown = true;
    bool objectsShown = true;

    // Writes the file into the current folder; false when it cannot be written whole.
    bool write() const;
};
