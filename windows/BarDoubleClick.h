// A double-click on a dock window's title: a docked window floats just beside where it was, a
// floating one docks back, and one tabbed with other windows stays as it is. Qt's own toggling
// of the floating state is replaced by this rule.
#pragma once

class QDockWidget;
class QMainWindow;

// Applies the rule to a window of the frame.
void HandleBarDoubleClick(QDockWidget& bar, QMainWindow& frame);

// Makes a left double-click on the window's title apply the rule; the window's parent must be
// the frame. The window owns the filter that does it.
void InstallBarDoubleClick(QDockWidget& bar);
