#pragma once
// String-table ids of the browser's texts (platform/strings/explorer.inc).
namespace qb::browser {

enum BrowserText : int {
    kTextObjectCount = 57391,     // "Object(s): %i"
    kTextElementCaption = 57393,  // "%s"
    kTextDataBase = 57502,
    kTextTables = 57503,
    kTextStoreProcedures = 57504,
    kTextTableViews = 57505,
    kTextTable = 57506,
    kTextView = 57507,
    kTextName = 57601,

    kTextCatalog = 64000,
    kTextDescription = 64001,
    kTextTableName = 64002,
    kTextSchema = 64003,
    kTextType = 64004,

    kTextProcCatalog = 64100,
    kTextProcDescription = 64101,
    kTextProcDefinition = 64102,
    kTextProcName = 64103,
    kTextProcSchema = 64104,
    kTextProcType = 64105,
    kTextProcTypeFunction = 64106,
    kTextProcTypeProcedure = 64107,
    kTextProcTypeUnknown = 64108,

    kStageLoadElementInfo = 64500,
    kStageEnumerateElements = 64501,

    // The stages of a table load (TableLoadReport).
    kStageColumns = 64510,
    kStageAccessor = 64512,
    kStageRedraw = 64513,
    kStagePrepare = 64514,
    kStageLoad = 64515,
    kStageCache = 64516,
    kStageEnumerate = 64517,

    kTextInformationTitle = 61431, // "Vexa@Qorvex: Information"
    kTextCannotStopLoader = 61450,
    kTextLoadStopped = 61451,
    kTextNoConnection = 61452,
};

} // namespace qb::browser
