#pragma once

#include <QIcon>

class QWidget;

// Places a control by its position and size in twips.
void placeInTwips(QWidget* control, int left, int top, int width, int height);

// The small icon the list windows share in their title bars.
QIcon listWindowIcon();
