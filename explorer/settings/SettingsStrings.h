#pragma once
// String-table ids of the options dialog and the configuration commands (texts in
// platform/strings/explorer.inc).

namespace qb::settings::strings {

enum : int {
    PropertiesTitle = 61400,
    GeneralPage = 61401,
    AppearancePage = 61402,
    DataListPage = 61403,
    DataTreePage = 61404,
    ReportWindowPage = 61405,
    DataListButton = 61406,
    DataTreeButton = 61407,
    ReportViewButton = 61408,
    DataListExplanation = 61409,
    DataTreeExplanation = 61410,
    ReportWindowExplanation = 61411,
    GoDirectlyToTableFolder = 61412,
    RecentListPrefix = 61413,
    RecentListSuffix = 61414,
    MaxBackupPoints = 61415,
    SingleInstance = 61416,
    ReportShowGrid = 61417,
    ReportFullRowSelect = 61418,
    ReportFlatScrollBars = 61419,
    ListIndividualProperties = 61420,
    ListShowGrid = 61421,
    ListFullRowSelect = 61422,
    ListFlatScrollBars = 61423,
    ListTooltipOnClick = 61424,
    ListTooltipOnShiftClick = 61425,
    TreeHasButtons = 61426,
    TreeHasLines = 61427,
    TreeFullRowSelect = 61428,
    TreeTrackSelect = 61429,
    RangeMessage = 61430,
    InformationCaption = 61431,
    QuestionCaption = 61432,
    SaveComplete = 61433,
    ExportQuestion = 61434,
    RegFileFilterName = 61435,
    ExportErrorCaption = 61436,
    ExportFileError = 61437,
    SaveFailed = 61438,
    ErrorCaption = 60000, // shared "Vexa@Qorvex: Error message"
};

} // namespace qb::settings::strings
