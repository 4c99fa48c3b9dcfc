#pragma once

#include "apirequest.h"

#include <QList>
#include <QMutex>
#include <QString>

#include <atomic>
#include <optional>

// Variant shapes of Graph answers, as the service sent them now and then
// (see answershapes.h). Flags: several can be on at once.
enum AnswerShape : int {
    ShapeObjects = 1,    // empty lists as {} instead of []
    ShapeArrays = 2,     // tags as one array, "summary" as []
    ShapeNumbers = 4,    // numeric ids as numbers
    ShapeSparse = 8,     // count-only comments and likes, place.location a string, fields missing
    ShapeCursors = 16,   // paging by "cursors" and before/after addresses
    ShapeEscapes = 32,   // paging addresses with malformed percent-escapes
    ShapeBatchFail = 64, // batch elements failed, null or without body
};

// Names ("objects", "numbers", ...) to flags; a comma-separated list, empty for none.
std::optional<int> parseShapes(const QString &names);
QString shapeNames();

// A failure or delay waiting for the next requests of one path.
struct Fault {
    QString path;
    int status = 0; // 0: answered normally after the delay
    bool hasBody = false;
    QByteArray body;
    int delayMs = 0;
    int count = 1;
};

// Switches the control endpoints set while the sandbox runs; read by the
// HTTP workers in parallel.
class SandboxSwitches {
public:
    static constexpr int maxDelayMs = 10000;

    std::atomic<int> shapes{0};
    std::atomic<bool> feedsByTime{false}; // feeds paged with until/since addresses

    void addFault(const Fault &fault);
    void clearFaults();
    // Takes one use of the oldest fault for `path`, if any.
    std::optional<Fault> takeFault(const QString &path);

private:
    QMutex m_mutex;
    QList<Fault> m_faults;
    std::atomic<int> m_faultCount{0}; // lets requests skip the lock while no fault waits
};
