// The scenarios' keyboard and mouse: keys sent to the widget that has the
// focus, as a user's keyboard sends them, a whole program typed in by keys
// alone, and clicks that come in through the window as a mouse's do.
#pragma once

#include <string>

class QWidget;
class TfrmVslCnv;

// The widget that gets the next key: the focus widget, else the window.
QWidget* ScnFoc(TfrmVslCnv& w);
// One key (a key sequence's text, "Ctrl+Right", "F2", "S") to the focus widget.
void ScnKey(TfrmVslCnv& w, const std::string& key);
// Text typed into the focus widget, key by key.
void ScnTyp(TfrmVslCnv& w, const std::string& txt);
// What has the focus: its object name, else its class; a vio's control as
// "ctlN" with its index; "none".
std::string ScnFocNam();
// Types the program of the file onto the window's field by keys alone, each
// sent to the focus widget: arrows to each vio's cell, its type key, Enter
// (or F2, every other vio) into its parameters, Tab to each one that differs,
// Up/Down in the lists, End, Backspace and the text in the edits, Escape
// back to the field. Empty on success, else what went wrong.
std::string ScnTypPgm(TfrmVslCnv& w, const std::string& path, const std::string& tknFil);
// A double click on the Start vio as the mouse gives it, through the window:
// press, release, the second press that makes the double click, release.
// False when there is no Start vio on the field.
bool ScnDblClkSta(TfrmVslCnv& w);
