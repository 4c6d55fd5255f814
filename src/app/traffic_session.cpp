#include "app/traffic_session.h"

#include "app/simulation.h"
#include "data/data_set_loader.h"
#include "traffic/traffic_file.h"

namespace ampelsim {

std::optional<std::string> TrafficSession::Load(const std::filesystem::path& file) {
  traffic::TrafficFileResult result = traffic::ReadTrafficFile(file);
  if (!result) {
    return result.Failure().Message;
  }
  const traffic::TrafficDescription& description = result.Value();
  // Before the first start the data set is read only when the controller
  // starts; the traffic is checked against the one it will read.
  const ControllerDataSet* data = &simulation_.Data();
  ControllerDataSet onDisk;
  if (data->GeneralData.GroupCount <= 0) {
    DataSetLoader loader;
    loader.Load(onDisk, simulation_.DataDirectory());
    data = loader.DataValid() ? &onDisk : nullptr;
  }
  if (data != nullptr) {
    if (std::optional<std::string> unfit = traffic::CheckTrafficForDataSet(description, *data)) {
      return unfit;
    }
  }
  // The old traffic lets go of its buttons before the new one arrives.
  traffic_.reset();
  traffic_ = std::make_unique<GeneratedTraffic>(simulation_, description);
  file_ = file;
  return std::nullopt;
}

std::optional<std::string> TrafficSession::CheckAgainstLoadedDataSet() {
  if (traffic_ == nullptr || simulation_.Data().GeneralData.GroupCount <= 0) {
    return std::nullopt;
  }
  std::optional<std::string> unfit =
      traffic::CheckTrafficForDataSet(traffic_->Description(), simulation_.Data());
  if (unfit) {
    traffic_.reset();
    file_.clear();
  }
  return unfit;
}

void TrafficSession::SetGenerating(bool on) {
  if (traffic_ != nullptr) {
    traffic_->SetGenerating(on);
  }
}

}  // namespace ampelsim
