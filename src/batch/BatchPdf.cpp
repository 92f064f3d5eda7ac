#include "batch/BatchPdf.h"

#include "platform/SharedModule.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace rahmen {

namespace fs = std::filesystem;

BatchPdfModule openBatchPdfModule() {
    BatchPdfModule module;
    std::vector<fs::path> places;
    if (const char* named = std::getenv(kBatchPdfModuleVariable); named && *named)
        places.emplace_back(named);
    else if (const fs::path folder = executableFolder(); !folder.empty())
        for (const fs::path& relative : {fs::path("."), fs::path(RAHMEN_BATCH_PDF_MODULE_DIR)})
            places.push_back((folder / relative / RAHMEN_BATCH_PDF_MODULE_FILE).lexically_normal());
    const std::string unavailable = "PDF 出力は使えません: 計算書を PDF にする部品 ";
    for (const fs::path& place : places) {
        std::error_code error;
        if (!fs::exists(place, error)) continue;
        const ModuleSymbol entry = openModuleSymbol(place, kBatchPdfEntry);
        if (!entry.address) {
            module.problem =
                unavailable + place.string() + " を読み込めませんでした。\n" + entry.error;
            return module;
        }
        const auto write = reinterpret_cast<BatchPdfEntry>(entry.address);
        module.writer = [write](Program& program, const std::vector<MemberCheck>* checks,
                                const StoreyCheckResult* storeys) -> std::optional<std::string> {
            std::string pdf;
            if (!write(program, checks, storeys, pdf)) return std::nullopt;
            return pdf;
        };
        return module;
    }
    std::string looked;
    for (const fs::path& place : places)
        looked += (looked.empty() ? "" : "、") + place.string();
    module.problem = unavailable + RAHMEN_BATCH_PDF_MODULE_FILE + " が見つかりません" +
                     (looked.empty() ? std::string("。") : "（探した場所: " + looked + "）。");
    return module;
}

} // namespace rahmen
