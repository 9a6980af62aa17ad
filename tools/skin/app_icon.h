#pragma once
// The application's icon: a camera lens with an accent ring on a rounded dark screen, and a small
// red recording light. The smallest sizes drop the details so that they stay crisp.
#include <QImage>

#include <span>

namespace dvr::skin {

// The sizes the icon comes in, each as "icon-SIZE".
std::span<const int> AppIconSizes();

QImage DrawAppIcon(int size, int scale);

}  // namespace dvr::skin
