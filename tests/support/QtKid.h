// A window's child widget by its object name, for tests that press its
// buttons and read its texts; a child that is not there fails the test.
#pragma once

#include <QObject>
#include <QString>

#include <stdexcept>
#include <string>

template <class T>
T* Kid(const QObject* o, const char* name) {
  T* k = o ? o->findChild<T*>(QString::fromLatin1(name)) : nullptr;
  if (!k) throw std::runtime_error(std::string("no child widget ") + name);
  return k;
}
