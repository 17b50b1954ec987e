// CxImage: the program's picture and frame buffer.
//
// Layout: a BITMAPINFOHEADER followed by 24-bit BGR rows, bottom row first, each row padded to a
// multiple of 4 bytes (GetEffWidth), so GetDIB/GetBits go straight to the DIB drawing calls and
// the frame writer. An optional alpha plane is kept apart, one byte per pixel (255 = opaque),
// rows in the same bottom-up order.
//
// Coordinates: GetBits(row), GetPixelColor/SetPixelColor and the alpha accessors count y from
// the bottom row, as the DIB stores it. Rectangles (Crop) are in display orientation: top = 0 is
// the top row. Positive rotation angles turn clockwise, as the program's photo rotation does.
//
// Loading recognises the format from the file's content (JPEG, PNG, BMP, TIFF, PCX); the type
// argument is only a hint. A damaged, truncated or oversized file fails cleanly: the call
// returns false, the picture is left empty, GetLastError() tells why and the thread's last error
// is set. One object is used by one thread at a time; separate objects are independent.
#pragma once

#include <string>

#include "modules/image/Exif.h"
#include "modules/image/Raster.h"
#include "platform/base/WinTypes.h"
#include "platform/gdi/GdiTypes.h"

// File formats, for Load/Save and GetType.
enum : DWORD {
  CXIMAGE_FORMAT_UNKNOWN = 0,
  CXIMAGE_FORMAT_BMP = 1,
  CXIMAGE_FORMAT_JPG = 3,
  CXIMAGE_FORMAT_PNG = 4,
  CXIMAGE_FORMAT_TIF = 5,
  CXIMAGE_FORMAT_PCX = 6,
};

// Resample modes.
enum : int {
  CXIMAGE_RESAMPLE_BILINEAR = 0,  // smooth; averages every source pixel when shrinking
  CXIMAGE_RESAMPLE_NEAREST = 1,   // fast: nearest source pixel
  CXIMAGE_RESAMPLE_BICUBIC = 2,   // best: Catmull-Rom, widened when shrinking
};

class CxImage {
 public:
  explicit CxImage(DWORD imagetype = CXIMAGE_FORMAT_UNKNOWN);
  // The selection flag is accepted for the callers' sake; pictures carry no selection.
  CxImage(const CxImage& src, bool copypixels = true, bool copyselection = true, bool copyalpha = true);
  CxImage& operator=(const CxImage& src);
  CxImage(CxImage&& src) noexcept;
  CxImage& operator=(CxImage&& src) noexcept;
  ~CxImage();

  // --- Life cycle --------------------------------------------------------------------------
  // A black width x height picture; only 24 bits per pixel are kept. Returns the DIB or NULL.
  void* Create(DWORD width, DWORD height, DWORD bpp, DWORD imagetype = CXIMAGE_FORMAT_UNKNOWN);
  bool Destroy();
  void Copy(const CxImage& src, bool copypixels = true, bool copyselection = true, bool copyalpha = true);
  // Takes over the other picture's pixels and state; `from` is left empty.
  bool Transfer(CxImage& from);
  // A copy of caller-owned pixels: `bpp` 24 (BGR) or 32 (BGRA, the fourth byte becomes alpha),
  // rows `bytesperline` apart. The array's first row is the bottom row, as in a DIB, unless
  // bFlipImage says it is the top row.
  bool CreateFromArray(const BYTE* array, DWORD width, DWORD height, DWORD bpp, DWORD bytesperline,
                       bool bFlipImage);
  void Clear(BYTE value = 0);
  void Fill(COLORREF color);
  // Already 24-bit: true for any valid picture.
  bool ConvertTo24Bits();

  // --- Files and memory --------------------------------------------------------------------
  // `\` in a path is taken as a separator.
  bool Load(LPCTSTR filename, DWORD imagetype = CXIMAGE_FORMAT_UNKNOWN);
  // For a picture that will be shown within maxWidth x maxHeight: a JPEG is decoded at 1/2, 1/4
  // or 1/8 of its size when that still covers the box fit (never smaller), which is several
  // times faster; other formats load whole. The caller resamples to the exact size it wants;
  // GetSourceWidth/GetSourceHeight give the size the file declares.
  bool LoadScaled(LPCTSTR filename, long maxWidth, long maxHeight, DWORD imagetype = CXIMAGE_FORMAT_UNKNOWN);
  // From a file image in memory (resources, downloads).
  bool Decode(const BYTE* buffer, DWORD size, DWORD imagetype = CXIMAGE_FORMAT_UNKNOWN);
  bool DecodeScaled(const BYTE* buffer, DWORD size, long maxWidth, long maxHeight,
                    DWORD imagetype = CXIMAGE_FORMAT_UNKNOWN);
  // A picture kept as a resource of `module` (FindResource with a custom type such as "JPG").
  bool LoadResource(HRSRC resource, DWORD imagetype = CXIMAGE_FORMAT_UNKNOWN, HMODULE module = nullptr);
  // JPEG (at GetJpegQuality) or PNG (with alpha when there is an alpha plane). The file is
  // written beside its final name and renamed over it, so a failure leaves any old file intact.
  bool Save(LPCTSTR filename, DWORD imagetype);
  void SetJpegQuality(BYTE quality) { m_jpegQuality = quality; }
  BYTE GetJpegQuality() const { return m_jpegQuality; }
  // EXIF of the last loaded JPEG (IsExif FALSE when it had none).
  const EXIFINFO* GetExifInfo() const { return &m_exif; }
  // The EXIF block of a JPEG file without decoding its pixels (for lists of many photos).
  static bool ReadExifInfo(LPCTSTR filename, EXIFINFO* info);

  // --- Information -------------------------------------------------------------------------
  bool IsValid() const { return m_raster.IsValid(); }
  DWORD GetWidth() const { return static_cast<DWORD>(m_raster.Width()); }
  DWORD GetHeight() const { return static_cast<DWORD>(m_raster.Height()); }
  WORD GetBpp() const { return IsValid() ? 24 : 0; }
  DWORD GetEffWidth() const { return static_cast<DWORD>(m_raster.Stride()); }
  DWORD GetNumColors() const { return 0; }
  // Bytes of the DIB: header plus pixels.
  DWORD GetSize() const { return IsValid() ? static_cast<DWORD>(m_raster.DibBytes()) : 0; }
  // Row `row` from the bottom; NULL when out of range or empty.
  BYTE* GetBits(DWORD row = 0);
  // BITMAPINFOHEADER followed by the pixels; NULL when empty.
  void* GetDIB() const { return const_cast<BYTE*>(m_raster.Dib()); }
  DWORD GetType() const { return m_type; }
  long GetSourceWidth() const { return m_sourceWidth; }
  long GetSourceHeight() const { return m_sourceHeight; }
  const char* GetLastError() const { return m_lastError.c_str(); }
  // Colour used where rotation uncovers the background and where alpha is flattened.
  RGBQUAD GetBkColor() const { return m_bkColor; }
  void SetBkColor(RGBQUAD color) { m_bkColor = color; }
  void SetBkColor(COLORREF color);

  // --- Pixels (y from the bottom) ----------------------------------------------------------
  bool IsInside(long x, long y) const;
  // rgbReserved carries the alpha (255 without an alpha plane) when bGetAlpha is set, else 0.
  RGBQUAD GetPixelColor(long x, long y, bool bGetAlpha = true) const;
  void SetPixelColor(long x, long y, RGBQUAD color, bool bSetAlpha = false);
  void SetPixelColor(long x, long y, COLORREF color);

  // --- Geometry: into iDst when given, else in place ----------------------------------------
  bool Resample(long newx, long newy, int mode = CXIMAGE_RESAMPLE_NEAREST, CxImage* iDst = nullptr);
  bool RotateLeft(CxImage* iDst = nullptr);   // 90 degrees counter-clockwise
  bool RotateRight(CxImage* iDst = nullptr);  // 90 degrees clockwise
  bool Rotate180(CxImage* iDst = nullptr);
  // Any angle in degrees, clockwise; the picture grows to hold the turned one, and the uncovered
  // corners take the background colour (alpha 0 when there is an alpha plane).
  bool Rotate(float angle, CxImage* iDst = nullptr);
  // Keeps [left, right) x [top, bottom), clipped to the picture.
  bool Crop(long left, long top, long right, long bottom, CxImage* iDst = nullptr);
  bool Crop(const RECT& rect, CxImage* iDst = nullptr);
  bool Flip();    // top to bottom
  bool Mirror();  // left to right

  // --- Colour and intensity -----------------------------------------------------------------
  // brightness -255..255 is added; contrast -100..100 scales the distance from mid-grey by
  // (100 + contrast) / 100.
  bool Light(long brightness, long contrast = 0);
  // Above 1 brightens the mid-tones, below 1 darkens them.
  bool Gamma(float gamma);
  // Adds -255..255 to each channel.
  bool ShiftRGB(long r, long g, long b);
  // Automatic levels: stretches the brightness range (ignoring the darkest and brightest
  // half percent) to the full 0..255.
  bool HistogramStretch();

  // --- Device contexts and bitmaps ------------------------------------------------------------
  // Draws the picture into (x, y, cx, cy) (its own size for -1), clipped to pClipRect when given.
  // An alpha plane blends the picture over what the DC holds. bSmooth filters a size change;
  // without it each target pixel takes the nearest source pixel. Returns 1, or 0 on failure.
  long Draw(HDC hdc, long x = 0, long y = 0, long cx = -1, long cy = -1, RECT* pClipRect = nullptr,
            bool bSmooth = false);
  long Draw(HDC hdc, const RECT& rect, RECT* pClipRect = nullptr, bool bSmooth = false);
  // Copies the pixels (alpha ignored) into (x, y, cx, cy) with a raster operation, stretching with
  // the DC's own stretch mode.
  long Stretch(HDC hdc, long x, long y, long cx, long cy, DWORD dwRop = SRCCOPY);
  long Stretch(HDC hdc, const RECT& rect, DWORD dwRop = SRCCOPY);
  // A new 24-bit DIB section holding a copy of the pixels; the caller deletes it. NULL when empty.
  HBITMAP MakeBitmap(HDC hdc = nullptr);
  // Replaces the picture by a 24-bit copy of the bitmap's pixels.
  bool CreateFromHBITMAP(HBITMAP hbmp, HPALETTE hpal = nullptr);

  // --- Alpha plane ---------------------------------------------------------------------------
  bool AlphaCreate();  // opaque
  void AlphaDelete();
  bool AlphaIsValid() const { return m_raster.HasAlpha(); }
  void AlphaSet(BYTE level);
  void AlphaSet(long x, long y, BYTE level);
  BYTE AlphaGet(long x, long y) const;
  BYTE* AlphaGetPointer(long x = 0, long y = 0);
  // Blends the picture over the background colour and drops the plane.
  void AlphaStrip();

 private:
  bool Fail(DWORD code, std::string text);
  void Succeed();
  bool DecodeInto(const BYTE* buffer, size_t size, long maxWidth, long maxHeight);
  // Stores a result raster in iDst or in this picture.
  bool Deliver(pictavo::image::Raster&& raster, CxImage* iDst);
  // Replaces each blue, green and red value through its table.
  bool ApplyTables(const BYTE (&tables)[3][256]);

  pictavo::image::Raster m_raster;
  DWORD m_type = CXIMAGE_FORMAT_UNKNOWN;
  RGBQUAD m_bkColor{0, 0, 0, 0};
  BYTE m_jpegQuality = 90;
  EXIFINFO m_exif{};
  long m_sourceWidth = 0;
  long m_sourceHeight = 0;
  std::string m_lastError;
};
