#include "switches.h"

#include <QMutexLocker>
#include <QStringList>

namespace {

const struct {
    const char *name;
    AnswerShape flag;
} shapeTable[] = {{"objects", ShapeObjects},    {"arrays", ShapeArrays},
                  {"numbers", ShapeNumbers},    {"sparse", ShapeSparse},
                  {"cursors", ShapeCursors},    {"escapes", ShapeEscapes},
                  {"batchfail", ShapeBatchFail}};

} // namespace

std::optional<int> parseShapes(const QString &names) {
    int flags = 0;
    for (const QString &name : names.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool known = false;
        for (const auto &shape : shapeTable)
            if (name.trimmed() == QLatin1String(shape.name)) {
                flags |= shape.flag;
                known = true;
            }
        if (!known)
            return std::nullopt;
    }
    return flags;
}

QString shapeNames() {
    QStringList names;
    for (const auto &shape : shapeTable)
        names.append(QString::fromLatin1(shape.name));
    return names.join(QStringLiteral(", "));
}

void SandboxSwitches::addFault(const Fault &fault) {
    QMutexLocker lock(&m_mutex);
    m_faults.append(fault);
    m_faultCount = int(m_faults.size());
}

void SandboxSwitches::clearFaults() {
    QMutexLocker lock(&m_mutex);
    m_faults.clear();
    m_faultCount = 0;
}

std::optional<Fault> SandboxSwitches::takeFault(const QString &path) {
    if (m_faultCount == 0)
        return std::nullopt;
    QMutexLocker lock(&m_mutex);
    for (int i = 0; i < m_faults.size(); ++i) {
        if (m_faults[i].path != path)
            continue;
        const Fault taken = m_faults[i];
        if (--m_faults[i].count <= 0)
            m_faults.removeAt(i);
        m_faultCount = int(m_faults.size());
        return taken;
    }
    return std::nullopt;
}
