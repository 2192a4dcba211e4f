// The report's character format: the font that every piece of report text is
// shown in. It is kept in section "Settings" under eight keys whose names and
// value encoding stay those of the rich-edit character-format record, so that
// stored settings read back unchanged.
#pragma once

#include <cstdint>
#include <string>

class SettingsStore;

struct ReportCharFormat {
  // Effect and mask bits of the stored record.
  static constexpr std::uint32_t EffectBold = 0x00000001;
  static constexpr std::uint32_t EffectItalic = 0x00000002;
  static constexpr std::uint32_t EffectUnderline = 0x00000004;
  static constexpr std::uint32_t EffectStrikeOut = 0x00000008;
  static constexpr std::uint32_t EffectProtected = 0x00000010;
  static constexpr std::uint32_t EffectAutoColour = 0x40000000;
  // The record size written into "cbSize" before a format is applied.
  static constexpr int RecordSize = 60;
  // Longest face name the record can hold.
  static constexpr std::size_t MaxFaceNameLength = 31;

  int charSet = 0;                       // "bCharSet"
  int pitchAndFamily = 0;                // "bPitchAndFamily"
  int size = 0;                          // "cbSize"; ignored when applied
  std::uint32_t effects = 0x40000000;    // "dwEffects": automatic colour
  std::uint32_t mask = 0xB0000013;       // "dwMask": bold, italic, protected, size, face, offset
  std::string faceName = "Courier New";  // "szFaceName", at most 31 characters
  int height = 170;                      // "yHeight" in twips: 8.5 points
  int offset = 0;                        // "yOffset" in twips

  // Reads the eight keys of section "Settings"; a missing key gives its
  // default, a longer face name is cut to 31 characters.
  static ReportCharFormat Load(SettingsStore& store);
  // Writes the eight keys to section "Settings".
  void Save(SettingsStore& store) const;

  bool Bold() const { return (effects & EffectBold) != 0; }
  bool Italic() const { return (effects & EffectItalic) != 0; }
  bool Underline() const { return (effects & EffectUnderline) != 0; }
  bool StrikeOut() const { return (effects & EffectStrikeOut) != 0; }
  double PointSize() const { return height / 20.0; }

  // Sets the face, size and style from a font choice, keeping the other fields.
  void SetFont(const std::string& face, double pointSize, bool bold, bool italic);

  friend bool operator==(const ReportCharFormat&, const ReportCharFormat&) = default;
};
