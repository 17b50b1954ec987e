// Web-album templates: a template file read whole and run as the generator runs its pages, once
// without items (the index page of a single page) and once with photos laid out as a grid.
#include "disc/engines/TemplateEngine.h"
#include "disc/engines/TemplateVariables.h"
#include "fuzz/FuzzSupport.h"

namespace {

// Photos for the iterator blocks, each setting the variables a slide sets.
class Photos : public CTemplateItemSource {
 public:
  explicit Photos(int count) : m_left(count) {}
  bool HasFileItem() override { return m_left > 0; }
  bool HasGridItem() override { return m_left > 0; }
  int SetNextItem(bool) override {
    g_templateVariables.SetInt("ImageIndex", m_left);
    g_templateVariables.Set("ImageName", "photo.jpg");
    g_templateVariables.Set("ImageTitle", "A <b>photo</b> & \"title\"");
    --m_left;
    return 0;
  }

 private:
  int m_left;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = pictavo::fuzz::WriteInput("web_template/fuzz/index.htt", {data, size});
  if (!LoadTemplateText(path.c_str())) return 0;
  g_templateVariables.Set("Title", "My Web Album");
  g_templateVariables.Set("ResourcePath", "res");

  BeginTemplatePage(TRUE);
  const int single = RunTemplatePass(nullptr);
  if (single == 0 && EndTemplatePage())
    pictavo::fuzz::Check(WriteTemplateOutput((pictavo::fuzz::Scratch() + "/index.html").c_str()),
                         "a page cannot be written");

  Photos photos(size % 7);
  BeginTemplatePage(TRUE);
  if (RunTemplatePass(&photos, static_cast<int>(size % 3), static_cast<int>(size % 4)) == 0)
    (void)EndTemplatePage();
  g_templateOutput.Empty();
  return 0;
}
