#pragma once
// The calculation report form FORM20 ("計算書"), opened from the plotting
// window once there are results: which sections go into the report, which
// load case or combination (or all of them) and which frame plane (or all),
// then "PDF保存" writes DataName.pdf into the working folder (asking first when
// such a file exists, written whole or not at all) or "印刷" hands the
// document to the desktop's print dialog. The progress window shows the
// sections while the document is put together.

#include "platform/Form.h"
#include "report/Report.h"

#include <optional>
#include <string>
#include <vector>

namespace rahmen {

class Program;

class ReportForm : public Form {
public:
    explicit ReportForm(Program& program);

    // The options the form's controls choose.
    ReportOptions options() const;
    // The document of those options (the progress window open meanwhile).
    Document document();

    void PDF_ON();    // BUTTON101 "PDF保存"
    void PRINT_ON();  // BUTTON102 "印刷"
    void CANCEL_ON(); // BUTTON103 "キャンセル"

protected:
    void start() override;

private:
    // The file name: DataName.pdf, another name when the user wants one
    // instead of replacing a file there is; nullopt when cancelled.
    std::optional<std::string> pdfName();

    Program& p_;
    std::vector<ReportPlane> planes_;
};

// The names of the section check boxes, in ReportSection order.
extern const char* const kReportSectionBoxes[kReportSections];

// Registers FORM20 with the program's form registry.
void registerReportForms(Program& program);

} // namespace rahmen
