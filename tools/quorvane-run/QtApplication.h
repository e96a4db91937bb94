// Drawing (text, charts) needs a Qt application, off screen.
#pragma once

#include <QApplication>
#include <memory>

// A new one for the caller to keep while it draws, or nullptr when one exists.
std::unique_ptr<QApplication> QvEnsureApplication();
