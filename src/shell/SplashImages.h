#pragma once

#include <QPixmap>

namespace ordwell {

// The two pictures of the splash window, drawn here: the background, as
// large as the window, and the picture its blinds uncover (placed and sized
// as SplashAnimation says).
QPixmap SplashBackground();
QPixmap SplashPicture();

} // namespace ordwell
