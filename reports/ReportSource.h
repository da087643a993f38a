#pragma once

#include "NettingRun.h"
#include "NoticeCheck.h"
#include "PenaltyRelief.h"
#include "ReportContent.h"
#include "WholeBook.h"

#include <functional>

class Database;
struct TaxpayerCase;

// Runs the report's query afresh and builds its content, titled for the active taxpayer: for a report of stored
// rows (the payment report).
ReportContent loadReport(Database& db, const ReportDefinition& definition, const TaxpayerCase& taxpayer,
                         const QDate& printDate);
// The content of a report of `rows`, those a run handed on, titled for the active taxpayer.
ReportContent buildReport(const ReportDefinition& definition, const TaxpayerCase& taxpayer, const RecordSet& rows,
                          const QDate& printDate);

// The summary of every taxpayer of the database (each to its own End Date), as the preview shows it; `progress`
// hears of each taxpayer done.
ReportContent loadWholeBook(Database& db, const QDate& printDate,
                            const std::function<void(int done, int all)>& progress = {});
ReportContent wholeBookContent(const std::vector<WholeBook::Line>& lines, const QDate& printDate);

// A client's netting as the preview shows it: the overlaps, each return's interest, and a line for the benefit and
// the reading followed where the IRS's figures leave a choice.
ReportContent nettingContent(const NettingRun::Result& result, bool refundTakesFirstPart, const QDate& printDate);
// A notice check: the notice's lines beside the program's, then a note for each cause tested.
ReportContent noticeCheckContent(const NoticeCheck::Result& result, const QDate& printDate);
// A penalty relief request: the penalties and their interest, the balances, and the checklist as ticked.
ReportContent penaltyReliefContent(const PenaltyRelief::Result& result, const QDate& printDate);
