#pragma once

#include <QString>
#include <functional>

class QWidget;

// The platform's modal message box: the application's title, the text and
// only an OK button; returns once the user has answered it.
void MsgBox(QWidget* owner, const QString& prompt);

// Hands every later MsgBox text to `sink` instead of showing a box, for a
// program that runs the window where nobody could answer one; an empty
// function brings the boxes back.
void RouteMsgBox(std::function<void(const QString& prompt)> sink);
