// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QApplication;

namespace kerf::ui {

/// Loads Qt's own Traditional Chinese translation (qtbase_zh_TW from Qt's
/// translations folder), so that standard buttons read as on a Traditional
/// Chinese desktop. False when the file is missing; the program still runs.
bool installQtTraditionalChinese(QApplication& application);

/// The look shared by the program and its window tests: the translation and
/// a 9-point font (the family is left to the system's font matching, which
/// finds a CJK font for the captions); and the drawing's threads, made
/// before the windows open (map::prepareDrawingThreads). False, after a
/// message box that says why, when not one thread could be made: the
/// program cannot draw.
bool prepareApplication(QApplication& application);

} // namespace kerf::ui
