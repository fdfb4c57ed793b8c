#pragma once
#include <QObject>
#include <functional>
#include <map>
#include <string>

// Test classes register under their file's base name; the test main runs
// the class named on the command line (all of them without an argument).
using UiTestFactory = std::function<QObject*()>;
bool RegisterUiTest(const std::string& name, UiTestFactory factory);
std::map<std::string, UiTestFactory>& UiTests();

#define PX920_UI_TEST(Class) \
    static const bool Class##_registered = RegisterUiTest(#Class, [] { return static_cast<QObject*>(new Class); })
