#pragma once

class QWidget;

// Places a control by its position and size in twips.
void placeInTwips(QWidget* control, int left, int top, int width, int height);
