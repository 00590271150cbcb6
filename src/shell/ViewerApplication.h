#pragma once

class QApplication;

// What the viewer sets on its application object before the first window:
// names, translations, the interface face, the drawing fonts and the icon.
// The benchmarks start the same way, so they measure what a user waits for.
void prepareViewerApplication(QApplication& app);
