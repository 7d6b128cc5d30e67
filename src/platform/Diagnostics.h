#pragma once
// The program's one-line diagnostics ("Can't write to log", "unhandled key: x", ...) all go to
// standard output through printLine, so that tests can capture them with DiagnosticCapture.

#include <QString>
#include <QStringList>

void printLine(const QString& line);

// While one exists, printed lines are collected instead of written (tests only). Each capture
// holds every line printed during its life, also when captures overlap: a line is never hidden
// from one capture because another began later, so an assertion that nothing was printed cannot
// pass by looking at the wrong list.
class DiagnosticCapture {
public:
    DiagnosticCapture();
    ~DiagnosticCapture();
    DiagnosticCapture(const DiagnosticCapture&) = delete;
    DiagnosticCapture& operator=(const DiagnosticCapture&) = delete;

    QStringList lines() const;
    void clear();

private:
    QStringList captured;
};
