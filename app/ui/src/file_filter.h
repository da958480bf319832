// File chooser filters: "name(*.ext)|*.ext|other(*.a;*.b)|*.a;*.b||" as Qt name filters.
#pragma once

#include <QStringList>
#include <string>

namespace chromiva::ui {

QStringList QtNameFilters(const std::string& filter);

}  // namespace chromiva::ui
