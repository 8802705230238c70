#pragma once

#include <QString>

class QWidget;

// The scan's failure message: a fixed line naming the routine, a line break,
// the failure's description, in an OK-only box titled with the program's name.
void ShowRoutineError(QWidget* parent, const QString& routineLine, const QString& description);
