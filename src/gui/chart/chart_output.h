#pragma once

#include <QDate>
#include <QString>

#include "chart/chart_model.h"
#include "chart/chart_sheet.h"

class QPrinter;
class QWidget;

namespace ampelsim::ui {

class SaveLocation;

// What a chart window writes, named by the program's rule for proposed
// files: <Inhalt>_<Programm>_<Datum>.<ext>, the program as the sheet's title
// block names it.
struct ChartOutput {
  const ChartModel& Chart;
  const ChartSheet& Sheet;
  QString Content;  // "Signalzeitenplan", "Ist-Signalplan"
  QDate Date;
};

// The program of a sheet's title block ("P1"); empty where it names none.
QString SheetProgram(const ChartSheet& sheet);

// Where the rule proposes to write the chart with this extension.
QString ProposedChartFile(const SaveLocation& files, const ChartOutput& output,
                          const QString& extension);

// "Exportieren ...": a file dialog for PNG, SVG or PDF proposing the rule's
// file, then the chart on its sheet, as it is printed; a box names the file
// written or says why it could not be written.
void ExportChartWithDialog(QWidget* parent, const ChartOutput& output, SaveLocation& files);

// "Drucken ...": the system print dialog, then the chart on its sheet in
// landscape fitted to the page. Printed to a PDF file, the file is proposed
// by the rule and named after printing.
void PrintChartWithDialog(QWidget* parent, const ChartOutput& output, SaveLocation& files);

// The chart on its sheet on one page of a printer that is set up, fitted to
// the page; false when the printer cannot be opened.
bool PrintChart(QPrinter& printer, const ChartModel& chart, const ChartSheet& sheet = {});

}  // namespace ampelsim::ui
