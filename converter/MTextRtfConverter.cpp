// The converter object: construction and destruction; the passes live in files of their own.
#include "converter/MTextRtfConverter.h"

MTextRtfConverter::MTextRtfConverter(const ColorLookup& colors) : m_colors(colors) {}

MTextRtfConverter::MTextRtfConverter(const ColorLookup& colors, MTextToRtfTarget& target)
    : m_colors(colors), m_target(&target) {}

MTextRtfConverter::~MTextRtfConverter() = default;
