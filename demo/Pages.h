// Registration of every page class of the page table by its class name.
#pragma once

#include <QStringList>

namespace paxtor {

// Registers all pages; runs its work once, however often it is called.
void RegisterPages();

}  // namespace paxtor
