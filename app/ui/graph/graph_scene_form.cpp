#include "graph_scene_form.h"

namespace chromiva::ui {

GraphScene BuildGraphScene(const acquisition::FormLogic& form,
                           const acquisition::AxisLimits& limits, bool maintenanceMode) {
  const acquisition::FormFields& fields = form.fields();
  GraphScene scene;
  FillSensorData(scene, form.document(), form.processing(), fields.displayIndex);
  FillComparison(scene, form.CompareDocument(), fields.compareSensor, fields.compareSpectrum);
  scene.limits = limits;
  scene.selectedOnly = fields.selectedOnly;
  scene.selectedSensor = fields.selectedSensor;
  scene.colourDisplay = fields.colourDisplay;
  scene.measureMode = fields.settings.measureMode;
  scene.maintenanceMode = maintenanceMode;
  scene.displayKind = fields.displayKind;
  return scene;
}

}  // namespace chromiva::ui
