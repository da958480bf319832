#include "file_filter.h"

namespace chromiva::ui {

QStringList QtNameFilters(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString name = parts[i].trimmed();
    if (name.isEmpty()) break;
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    // Qt reads the patterns from the name's last parentheses.
    filters << (name.endsWith(QLatin1Char(')')) && name.contains(QStringLiteral("(*"))
                    ? name
                    : name + QStringLiteral(" (") + patterns + QLatin1Char(')'));
  }
  if (filters.isEmpty()) filters << QStringLiteral("* (*)");
  return filters;
}

}  // namespace chromiva::ui
