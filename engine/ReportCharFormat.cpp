// Loading and storing the report's character format.
#include "engine/ReportCharFormat.h"

#include <cmath>

#include "config/SettingsStore.h"
#include "engine/RunSettings.h"

namespace {

// The store holds 32-bit signed integers; effect and mask words keep their bits.
std::uint32_t ToBits(int value) {
  return static_cast<std::uint32_t>(value);
}
int FromBits(std::uint32_t value) {
  return static_cast<int>(value);
}

}  // namespace

ReportCharFormat ReportCharFormat::Load(SettingsStore& store) {
  const ReportCharFormat defaults;
  ReportCharFormat format;
  format.charSet = store.GetInt(SettingsSection, "bCharSet", defaults.charSet);
  format.pitchAndFamily = store.GetInt(SettingsSection, "bPitchAndFamily", defaults.pitchAndFamily);
  format.size = store.GetInt(SettingsSection, "cbSize", defaults.size);
  format.effects = ToBits(store.GetInt(SettingsSection, "dwEffects", FromBits(defaults.effects)));
  format.mask = ToBits(store.GetInt(SettingsSection, "dwMask", FromBits(defaults.mask)));
  format.faceName = store.GetString(SettingsSection, "szFaceName", defaults.faceName);
  if (format.faceName.size() > MaxFaceNameLength) {
    format.faceName.resize(MaxFaceNameLength);
  }
  format.height = store.GetInt(SettingsSection, "yHeight", defaults.height);
  format.offset = store.GetInt(SettingsSection, "yOffset", defaults.offset);
  return format;
}

void ReportCharFormat::Save(SettingsStore& store) const {
  store.SetInt(SettingsSection, "bCharSet", charSet);
  store.SetInt(SettingsSection, "bPitchAndFamily", pitchAndFamily);
  store.SetInt(SettingsSection, "cbSize", size);
  store.SetInt(SettingsSection, "dwEffects", FromBits(effects));
  store.SetInt(SettingsSection, "dwMask", FromBits(mask));
  store.SetString(SettingsSection, "szFaceName", faceName);
  store.SetInt(SettingsSection, "yHeight", height);
  store.SetInt(SettingsSection, "yOffset", offset);
}

void ReportCharFormat::SetFont(const std::string& face, double pointSize, bool bold, bool italic) {
  faceName = face.substr(0, MaxFaceNameLength);
  height = static_cast<int>(std::lround(pointSize * 20.0));
  effects &= ~(EffectBold | EffectItalic);
  if (bold) {
    effects |= EffectBold;
  }
  if (italic) {
    effects |= EffectItalic;
  }
  size = RecordSize;
}
