#include "modules/data/DVDAlbumImage.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "modules/data/DVDProject.h"

IMPLEMENT_DYNAMIC(CDVDAlbumImage, CDVDAlbumBase)

CDVDAlbumImage::CDVDAlbumImage(CDVDProject* project) : CDVDAlbumBase(project) {}

CDVDAlbumImage::~CDVDAlbumImage() {
  for (INT_PTR i = 0; i < m_arrImages.GetSize(); ++i) delete m_arrImages[i];
  m_arrImages.RemoveAll();
  RemoveAllBackgroundMusic();
  m_arrSprites.DeleteAll();
}

void CDVDAlbumImage::CopyFrom(const CDVDAlbumImage& other, CDVDProject* project) {
  if (&other == this) return;
  m_pProject = project;
  CopyBaseFrom(other);
  m_dwTransDurationType = other.m_dwTransDurationType;
  m_bAutoPanZoom = other.m_bAutoPanZoom;
  m_bMusicFadeInOut = other.m_bMusicFadeInOut;
  m_clrBackground = other.m_clrBackground;
  m_nOneDuration = other.m_nOneDuration;
  m_nTwoDuration = other.m_nTwoDuration;
  m_bTitleActive = other.m_bTitleActive;
  m_bCreditActive = other.m_bCreditActive;
  for (INT_PTR i = 0; i < m_arrImages.GetSize(); ++i) delete m_arrImages[i];
  m_arrImages.RemoveAll();
  m_pCurImage = m_pAlbumImage = nullptr;
  for (int i = 0; i < other.GetImageCount(); ++i) {
    const CDVDImage* source = other.m_arrImages[i];
    auto* copy = new CDVDImage(*source, this);
    m_arrImages.Add(copy);
    if (source == other.m_pAlbumImage) m_pAlbumImage = copy;
    if (source == other.m_pCurImage) m_pCurImage = copy;
  }
  RemoveAllBackgroundMusic();
  for (int i = 0; i < other.GetMusicCount(); ++i) AddBackgroundMusic(*other.GetMusic(i));
  m_arrSprites.DeleteAll();
  for (INT_PTR i = 0; i < other.m_arrSprites.GetSize(); ++i)
    m_arrSprites.Add(other.m_arrSprites[i]->Clone(nullptr));
  m_saved.reset();
  m_bHasSavedDuration = FALSE;
  MarkChanged();
}

CDVDImage* CDVDAlbumImage::GetImage(int index) const {
  return index >= 0 && index < GetImageCount() ? m_arrImages[index] : nullptr;
}

void CDVDAlbumImage::Adopt(CDVDImage* image) {
  image->m_pAlbum = this;
}

void CDVDAlbumImage::Forget(const CDVDImage* image) {
  if (m_pCurImage == image) m_pCurImage = nullptr;
  if (m_pAlbumImage == image) m_pAlbumImage = GetImageCount() > 0 ? m_arrImages[0] : nullptr;
}

BOOL CDVDAlbumImage::AddDVDImage(CDVDImage* image) {
  if (image == nullptr || IndexOf(image) >= 0) return FALSE;
  Adopt(image);
  m_arrImages.Add(image);
  MarkChanged();
  return TRUE;
}

BOOL CDVDAlbumImage::AddDVDImage(const CDVDImageArray& images) {
  BOOL all = TRUE;
  for (INT_PTR i = 0; i < images.GetSize(); ++i) all &= AddDVDImage(images[i]);
  return all;
}

BOOL CDVDAlbumImage::RemoveDVDImage(CDVDImage* image) {
  const int index = IndexOf(image);
  if (index < 0) return FALSE;
  m_arrImages.RemoveAt(index);
  Forget(image);
  if (image->m_pAlbum == this) image->m_pAlbum = nullptr;
  MarkChanged();
  return TRUE;
}

BOOL CDVDAlbumImage::RemoveDVDImage(const CDVDImageArray& images) {
  BOOL all = TRUE;
  for (INT_PTR i = 0; i < images.GetSize(); ++i) all &= RemoveDVDImage(images[i]);
  return all;
}

int CDVDAlbumImage::DuplicateDVDImageToPos(CDVDImage* image, CDVDImage* position, CDVDImageArray* copies) {
  if (image == nullptr) return 0;
  CDVDImageArray one;
  one.Add(image);
  return DuplicateDVDImageToPos(one, position, copies);
}

int CDVDAlbumImage::DuplicateDVDImageToPos(const CDVDImageArray& images, CDVDImage* position,
                                           CDVDImageArray* copies) {
  int at = position != nullptr ? IndexOf(position) : -1;
  if (at < 0) at = GetImageCount();
  int made = 0;
  for (INT_PTR i = 0; i < images.GetSize(); ++i) {
    if (images[i] == nullptr) continue;
    auto* copy = new CDVDImage(*images[i], this);
    m_arrImages.InsertAt(at + made, copy);
    if (copies != nullptr) copies->Add(copy);
    ++made;
  }
  if (made > 0) MarkChanged();
  return made;
}

BOOL CDVDAlbumImage::MoveDVDImagePos(CDVDImage* target, const CDVDImageArray& images) {
  std::vector<CDVDImage*> moving;
  for (INT_PTR i = 0; i < images.GetSize(); ++i)
    if (IndexOf(images[i]) >= 0 && std::find(moving.begin(), moving.end(), images[i]) == moving.end())
      moving.push_back(images[i]);
  if (moving.empty()) return FALSE;
  const auto isMoving = [&](const CDVDImage* s) {
    return std::find(moving.begin(), moving.end(), s) != moving.end();
  };
  // The slides go before the target; a target that moves itself stands for the next slide that
  // stays.
  CDVDImage* anchor = nullptr;
  int targetIndex = target != nullptr ? IndexOf(target) : -1;
  if (targetIndex >= 0) {
    for (int i = targetIndex; i < GetImageCount(); ++i)
      if (!isMoving(m_arrImages[i])) {
        anchor = m_arrImages[i];
        break;
      }
  }
  std::vector<CDVDImage*> order;
  for (int i = 0; i < GetImageCount(); ++i)
    if (!isMoving(m_arrImages[i])) order.push_back(m_arrImages[i]);
  auto at = anchor != nullptr ? std::find(order.begin(), order.end(), anchor) : order.end();
  order.insert(at, moving.begin(), moving.end());
  for (size_t i = 0; i < order.size(); ++i) m_arrImages[static_cast<INT_PTR>(i)] = order[i];
  MarkChanged();
  return TRUE;
}

BOOL CDVDAlbumImage::ReArrangeImageOrder() {
  const int n = GetImageCount();
  for (int i = n - 1; i > 0; --i)
    std::swap(m_arrImages.ElementAt(i), m_arrImages.ElementAt(std::rand() % (i + 1)));
  if (n > 1) MarkChanged();
  return TRUE;
}

BOOL CDVDAlbumImage::ReArrangeImageOrder(const CDVDImageArray& order) {
  if (order.GetSize() != m_arrImages.GetSize()) return FALSE;
  for (INT_PTR i = 0; i < order.GetSize(); ++i)
    if (IndexOf(order[i]) < 0 || order.IndexOf(order[i]) != i) return FALSE;
  for (INT_PTR i = 0; i < order.GetSize(); ++i) m_arrImages[i] = order[i];
  MarkChanged();
  return TRUE;
}

void CDVDAlbumImage::Set_pAlbumImage(CDVDImage* image) {
  if (image != nullptr && IndexOf(image) < 0) return;
  if (m_pAlbumImage == image) return;
  m_pAlbumImage = image;
  MarkChanged();
}

CString CDVDAlbumImage::Get_strTransName(int index) const {
  const CDVDImage* image = GetImage(index);
  return image != nullptr ? image->Get_strTransName() : CString();
}

int CDVDAlbumImage::Get_nPanZoom(int index) const {
  const CDVDImage* image = GetImage(index);
  return image != nullptr ? image->Get_nPanZoom() : DVD_PANZOOM_ALBUM;
}

const _tagPhotoPanZoomSaveParam* CDVDAlbumImage::GetpPhotoPanZoomSaveParam(int index) const {
  const CDVDImage* image = GetImage(index);
  return image != nullptr ? image->GetpPhotoPanZoomSaveParam() : nullptr;
}

void CDVDAlbumImage::RandomizeTransEffectFromSubset() {
  for (int i = 0; i < GetImageCount(); ++i)
    m_arrImages[i]->Set_strTransName(CDVDImage::PickNewTransitionName());
}

void CDVDAlbumImage::RandomizeTransEffect() {
  for (int i = 0; i < GetImageCount(); ++i)
    m_arrImages[i]->Set_strTransName(CDVDImage::PickRandomTransitionName(FALSE));
}

void CDVDAlbumImage::NoTransEffect() {
  const CString none = CDVDImage::GetNoTransitionName();
  for (int i = 0; i < GetImageCount(); ++i) m_arrImages[i]->Set_strTransName(none);
}

void CDVDAlbumImage::Set_dwTransDurationType(DWORD type) {
  if (m_dwTransDurationType == type) return;
  m_dwTransDurationType = type;
  MarkChanged();
}

void CDVDAlbumImage::Set_bAutoPanZoom(BOOL on) {
  if (m_bAutoPanZoom == on) return;
  m_bAutoPanZoom = on;
  MarkChanged();
}

void CDVDAlbumImage::Set_bMusicFadeInOut(BOOL on) {
  if (m_bMusicFadeInOut == on) return;
  m_bMusicFadeInOut = on;
  MarkChanged();
}

void CDVDAlbumImage::Set_clrBackground(COLORREF colour) {
  if (m_clrBackground == colour) return;
  m_clrBackground = colour;
  MarkChanged();
}

BOOL CDVDAlbumImage::AddImageSprite(CDVDImageSprite* sprite, int) {
  if (!m_arrSprites.AddNew(sprite)) return FALSE;
  sprite->Set_srRange(DVD_SPRITE_RANGE_ALBUM);
  MarkChanged();
  return TRUE;
}

BOOL CDVDAlbumImage::RemoveImageSprite(CDVDImageSprite* sprite, BOOL deleteIt) {
  if (!m_arrSprites.Remove(sprite, deleteIt)) return FALSE;
  MarkChanged();
  return TRUE;
}
