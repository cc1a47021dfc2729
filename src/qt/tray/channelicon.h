#pragma once
// The images of the channel icons TB1 and TB2: "B1" or "B2" in white on
// navy above a yellow bar, painted afresh for every size asked for, so they
// stay sharp at any scale.

#include <QIcon>
#include <QString>

namespace tarvik {

QIcon channelIcon(const QString& label);

}  // namespace tarvik
