#pragma once

#include "ReportContent.h"

class Database;
class TaxpayerRecord;

// Runs the report's query afresh and builds its content, titled for the active taxpayer.
ReportContent loadReport(Database& db, const ReportDefinition& definition, const TaxpayerRecord& taxpayer,
                         const QDate& printDate);
