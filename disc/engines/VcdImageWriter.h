// Where every sector of a Video-CD image goes, and the passes that write them in order with the
// subheaders their content needs.
#pragma once

#include <cstddef>
#include <cstdint>

struct _tagDiscAuthor;

// -1 (0xFFFFFFFF) when a fixed position is taken.
uint32_t AllocateSectors(_tagDiscAuthor* author, int64_t position, uint32_t count);
bool AllocateIsoSectors(_tagDiscAuthor* author);
bool WriteIsoTrack(_tagDiscAuthor* author);
bool WriteSegmentItem(_tagDiscAuthor* author, size_t index);
bool WriteSequenceTrack(_tagDiscAuthor* author, size_t index);
// `data` null: an empty sector. False when the sink failed or the progress callback stopped.
bool WriteImageSector(_tagDiscAuthor* author, const uint8_t* data, uint32_t address, uint8_t fileNumber,
                      uint8_t channel, uint8_t submode, uint8_t coding);
