#pragma once

#include <memory>

// Keeps for good an object that a child made by fork inherited from its
// parent and must never destroy: its destructor would join threads that do
// not exist in the child, or lock mutexes that they may have held at the
// fork. The object stays reachable, so that leak checkers take it for one
// in use. Never blocks.
void keepInheritedForever(std::shared_ptr<void> object);
