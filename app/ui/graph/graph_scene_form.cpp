#include "graph_scene_form.h"

namespace chromiva::ui {

GraphScene BuildGraphScene(const acquisition::FormLogic& form) {
  const acquisition::FormFields& fields = form.fields();
  GraphScene scene;
  FillSensorData(scene, form.document(), form.processing(), fields.displayIndex);
  FillComparison(scene, form.Status().compareDocument, fields.compareSensor,
                 fields.compareSpectrum);
  scene.limits = form.fields().axisLimits;
  scene.selectedOnly = fields.selectedOnly;
  scene.selectedSensor = fields.selectedSensor;
  scene.colourDisplay = fields.colourDisplay;
  scene.measureMode = fields.settings.measureMode;
  scene.maintenanceMode = form.fields().maintenanceMode == 1;
  scene.displayKind = fields.displayKind;
  return scene;
}

}  // namespace chromiva::ui
