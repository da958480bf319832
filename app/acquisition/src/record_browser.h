// Record browsing: paging and continuous playback, the display choices, data clear, the start-up
// screen and the comparison with a second data file.
#pragma once

#include <memory>
#include <string>

#include "form_context.h"

namespace chromiva::acquisition {

class RecordBrowser {
 public:
  RecordBrowser(FormContext& context, BrowsingFields& fields);
  ~RecordBrowser();

  void Back();
  void Next();
  void OnPlaybackTimer();
  void PlaybackClicked();
  void SelectedOnlyClicked();
  void DisplayKindChanged();
  void ClearData();
  // Timer 1: the whole graph area redrawn, and the guidance for records or for detection.
  void ShowStartupScreen();
  // Shows the display choices and the position in their controls.
  void ShowFields();

  void Compare();
  void CompareSensorBack();
  void CompareSensorNext();
  void CompareRecordBack();
  void CompareRecordNext();
  const data::Ctintrose_mfDoc* CompareDocument() const { return compareDoc_.get(); }

 private:
  void StepDisplay(int step);
  void DropComparison();
  bool LoadComparison(const std::string& path);
  void PrepareCompareSpectrum(int sensor, int record);
  void ShowCompareFields();
  void EnableCompareControls();
  void ShowComparePosition();

  FormContext& c_;
  ControlWriter controls_;
  BrowsingFields& f_;
  std::unique_ptr<data::Ctintrose_mfDoc> compareDoc_;
};

}  // namespace chromiva::acquisition
