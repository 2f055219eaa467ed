#pragma once
// The state dump of the replay harness: one JSON object with the frame, the clock, the caption,
// every variable of the main-window state, the sprites and the controls' state.

#include <QJsonObject>

namespace kestrova {

class TMainForm;

QJsonObject StateDump(const TMainForm& form);

} // namespace kestrova
