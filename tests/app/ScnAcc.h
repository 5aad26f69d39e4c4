// What a screen reader finds in the windows of the scenarios: the
// accessibility tree walked from a window, the names of its controls, and
// the announcements the main window makes.
#pragma once

#include <string>
#include <vector>

class QObject;

// The visible controls under the root (buttons, boxes, edits, sliders, lists,
// menu items, vio panels; the items of its menus too) that have no accessible
// name, by object name (class name when it has none), each once, sorted;
// "none" when every one has a name.
std::string UnnamedCtls(const std::vector<QObject*>& roots);
// The accessible name of the object of that name under the roots, "|" and its
// description when it has one; "(none)" when there is no such object.
std::string AccTxt(QObject* obj);
QObject* FndObj(const std::vector<QObject*>& roots, const std::string& name);
// Records the announcements of the main window (each showing of its notification) until forgotten.
void RecAnc(bool on);
std::vector<std::string>& Anced();
