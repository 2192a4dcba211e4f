// DrawnIcons: toolbar icons the platform's style does not offer (Copy,
// Print). The desktop's icon theme gives them where it has them; otherwise
// they are drawn, so that no toolbar button is blank.
#pragma once

#include <QIcon>

QIcon CopyIcon();
QIcon PrintIcon();
