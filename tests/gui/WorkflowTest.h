#pragma once

#include <QObject>

namespace rahmen::test {

class WorkflowTest : public QObject {
    Q_OBJECT
private slots:
    void tableInputToTheReportFile();
};

} // namespace rahmen::test
