#include "graphics/fonts/FreeTypeText.h"

#include "graphics/core/SharedLibrary.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace gfx {

namespace {

// Both libraries are opened the first time a picture draws text.
#define MQ_FREETYPE_FUNCTIONS(X)                                                                             \
    X(FT_Init_FreeType)                                                                                      \
    X(FT_Done_FreeType)                                                                                      \
    X(FT_New_Face)                                                                                           \
    X(FT_Done_Face)                                                                                          \
    X(FT_Set_Pixel_Sizes)                                                                                    \
    X(FT_Set_Transform)                                                                                      \
    X(FT_Load_Char)                                                                                          \
    X(FT_Outline_Embolden)                                                                                   \
    X(FT_Render_Glyph)

MQ_SHARED_LIBRARY(FreeTypeLibrary, freetype, MQ_FREETYPE_LIBRARY, MQ_FREETYPE_FUNCTIONS)

#define MQ_FONTCONFIG_FUNCTIONS(X)                                                                           \
    X(FcInitLoadConfigAndFonts)                                                                              \
    X(FcConfigDestroy)                                                                                       \
    X(FcConfigSubstitute)                                                                                    \
    X(FcDefaultSubstitute)                                                                                   \
    X(FcFontMatch)                                                                                           \
    X(FcPatternCreate)                                                                                       \
    X(FcPatternDestroy)                                                                                      \
    X(FcPatternAddString)                                                                                    \
    X(FcPatternAddInteger)                                                                                   \
    X(FcPatternAddBool)                                                                                      \
    X(FcPatternGetString)                                                                                    \
    X(FcPatternGetInteger)

MQ_SHARED_LIBRARY(FontconfigLibrary, fontconfig, MQ_FONTCONFIG_LIBRARY, MQ_FONTCONFIG_FUNCTIONS)

struct FontFile {
    std::string path;
    int index = 0;
    bool bold = false;   // the file's own weight is bold
    bool italic = false; // the file's own slant is italic or oblique
};

std::optional<FontFile> matchWithFontconfig(FcConfig* config, const std::string& generic, bool bold,
                                            bool italic) {
    if (!config)
        return std::nullopt;
    FcPattern* pattern = fontconfig().FcPatternCreate();
    if (!pattern)
        return std::nullopt;
    const std::string family = generic == "sans" ? "sans-serif" : generic;
    fontconfig().FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    fontconfig().FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    fontconfig().FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    fontconfig().FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    fontconfig().FcConfigSubstitute(config, pattern, FcMatchPattern);
    fontconfig().FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = fontconfig().FcFontMatch(config, pattern, &result);
    fontconfig().FcPatternDestroy(pattern);
    if (!match)
        return std::nullopt;
    std::optional<FontFile> found;
    FcChar8* file = nullptr;
    if (fontconfig().FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file) {
        FontFile f;
        f.path = reinterpret_cast<const char*>(file);
        fontconfig().FcPatternGetInteger(match, FC_INDEX, 0, &f.index);
        int weight = FC_WEIGHT_REGULAR;
        int slant = FC_SLANT_ROMAN;
        fontconfig().FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
        fontconfig().FcPatternGetInteger(match, FC_SLANT, 0, &slant);
        f.bold = weight >= FC_WEIGHT_DEMIBOLD;
        f.italic = slant != FC_SLANT_ROMAN;
        found = f;
    }
    fontconfig().FcPatternDestroy(match);
    return found;
}

// Where Debian's fonts-dejavu-core puts its faces, for systems without a fontconfig answer.
std::optional<FontFile> knownDejaVu(const std::string& generic, bool bold) {
    const std::string base = generic == "serif"       ? "DejaVuSerif"
                             : generic == "monospace" ? "DejaVuSansMono"
                                                      : "DejaVuSans";
    for (const char* dir : {"/usr/share/fonts/truetype/dejavu/", "/usr/share/fonts/TTF/",
                            "/usr/share/fonts/dejavu/", "/usr/local/share/fonts/"}) {
        for (const bool tryBold : {bold, false}) {
            const std::string path = dir + base + (tryBold ? "-Bold" : "") + ".ttf";
            std::error_code ec;
            if (std::filesystem::is_regular_file(path, ec)) {
                FontFile f;
                f.path = path;
                f.bold = tryBold;
                return f;
            }
        }
    }
    return std::nullopt;
}

struct Glyph {
    int left = 0; // relative to the run's start on the baseline
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bits; // one byte a pixel, 0 or 1
};

std::vector<char32_t> decodeUtf8(const std::string& s) {
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
        char32_t cp = extra == 0 ? c : extra == 1 ? (c & 0x1F) : extra == 2 ? (c & 0x0F) : (c & 0x07);
        ++i;
        for (; extra > 0 && i < s.size(); --extra, ++i)
            cp = (cp << 6) | (static_cast<unsigned char>(s[i]) & 0x3F);
        out.push_back(cp);
    }
    return out;
}

class FreeTypeFonts {
public:
    FreeTypeFonts() = default;
    ~FreeTypeFonts() {
        for (auto& [key, face] : m_faces)
            if (face.face)
                freetype().FT_Done_Face(face.face);
        if (m_library)
            freetype().FT_Done_FreeType(m_library);
        // A configuration of our own, not fontconfig's process-wide one, so that it is freed
        // with the renderer.
        if (m_config)
            fontconfig().FcConfigDestroy(m_config);
    }
    FreeTypeFonts(const FreeTypeFonts&) = delete;
    FreeTypeFonts& operator=(const FreeTypeFonts&) = delete;

    PictTextMask render(const PictTextRun& run, std::size_t maxPixels) {
        const bool bold = (run.face & 1u) != 0;
        const bool italic = (run.face & 2u) != 0;
        const LoadedFace* loaded = face(genericFamily(run), bold, italic);
        if (!loaded || run.size <= 0)
            return {};
        FT_Face f = loaded->face;
        if (freetype().FT_Set_Pixel_Sizes(f, 0, static_cast<FT_UInt>(run.size)) != 0)
            return {};
        // Faces the system lacks are made from the regular one: slanted by a shear, or
        // thickened by a fraction of the size.
        const bool shear = italic && !loaded->file.italic;
        const bool embolden = bold && !loaded->file.bold;
        FT_Matrix slant{0x10000, shear ? 0x3800 : 0, 0, 0x10000};
        freetype().FT_Set_Transform(f, shear ? &slant : nullptr, nullptr);
        const FT_Pos strength = std::max<FT_Pos>(64, run.size * 64 / 24);

        std::vector<Glyph> glyphs;
        std::uint64_t total = 0;
        long pen = 0;
        for (const char32_t cp : decodeUtf8(run.text)) {
            if (freetype().FT_Load_Char(f, cp, FT_LOAD_DEFAULT | FT_LOAD_TARGET_MONO) != 0)
                continue;
            FT_GlyphSlot slot = f->glyph;
            if (embolden && slot->format == FT_GLYPH_FORMAT_OUTLINE)
                freetype().FT_Outline_Embolden(&slot->outline, strength);
            if (freetype().FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0)
                continue;
            const FT_Bitmap& bm = slot->bitmap;
            total += std::uint64_t(bm.width) * bm.rows;
            if (total > maxPixels)
                return {};
            Glyph g;
            g.left = static_cast<int>(pen) + slot->bitmap_left;
            g.top = -slot->bitmap_top;
            g.width = static_cast<int>(bm.width);
            g.height = static_cast<int>(bm.rows);
            g.bits.resize(std::size_t(g.width) * std::size_t(g.height));
            for (int y = 0; y < g.height; ++y) {
                const unsigned char* row = bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch;
                for (int x = 0; x < g.width; ++x)
                    g.bits[std::size_t(y) * std::size_t(g.width) + std::size_t(x)] =
                        bm.pixel_mode == FT_PIXEL_MODE_MONO ? (row[x >> 3] >> (7 - (x & 7))) & 1u
                                                            : row[x] >= 128;
            }
            glyphs.push_back(std::move(g));
            pen += (slot->advance.x >> 6) + (embolden ? strength >> 6 : 0);
        }
        // Underline: one line a little below the baseline, under the whole run.
        if ((run.face & 4u) != 0 && pen > 0) {
            Glyph u;
            u.top = std::max(1, run.size / 10);
            u.width = static_cast<int>(pen);
            u.height = std::max(1, run.size / 14);
            u.bits.assign(std::size_t(u.width) * std::size_t(u.height), 1);
            total += u.bits.size();
            if (total > maxPixels)
                return {};
            glyphs.push_back(std::move(u));
        }
        if (glyphs.empty())
            return {};
        int left = glyphs[0].left, top = glyphs[0].top, right = left, bottom = top;
        for (const Glyph& g : glyphs) {
            left = std::min(left, g.left);
            top = std::min(top, g.top);
            right = std::max(right, g.left + g.width);
            bottom = std::max(bottom, g.top + g.height);
        }
        const std::uint64_t pixels = std::uint64_t(right - left) * std::uint64_t(bottom - top);
        if (pixels == 0 || pixels > maxPixels)
            return {};
        PictTextMask mask;
        mask.left = left;
        mask.top = top;
        mask.width = right - left;
        mask.height = bottom - top;
        mask.coverage.assign(static_cast<std::size_t>(pixels), 0);
        for (const Glyph& g : glyphs)
            for (int y = 0; y < g.height; ++y)
                for (int x = 0; x < g.width; ++x)
                    if (g.bits[std::size_t(y) * std::size_t(g.width) + std::size_t(x)])
                        mask.coverage[std::size_t(g.top + y - top) * std::size_t(mask.width) +
                                      std::size_t(g.left + x - left)] = 255;
        return mask;
    }

private:
    struct LoadedFace {
        FontFile file;
        FT_Face face = nullptr;
    };

    const LoadedFace* face(const std::string& generic, bool bold, bool italic) {
        // FreeType is opened by the first text drawn: most pictures have none.
        if (!m_libraryTried) {
            m_libraryTried = true;
            if (!freetype().ok() || freetype().FT_Init_FreeType(&m_library) != 0)
                m_library = nullptr;
        }
        if (!m_library)
            return nullptr;
        const std::string key = generic + (bold ? "+b" : "") + (italic ? "+i" : "");
        auto it = m_faces.find(key);
        if (it == m_faces.end()) {
            LoadedFace loaded;
            if (!m_configTried) {
                m_configTried = true;
                // Without fontconfig the usual DejaVu paths still give a face.
                m_config = fontconfig().ok() ? fontconfig().FcInitLoadConfigAndFonts() : nullptr;
            }
            std::optional<FontFile> file = matchWithFontconfig(m_config, generic, bold, italic);
            if (!file || !std::filesystem::is_regular_file(file->path))
                file = knownDejaVu(generic, bold);
            if (file && freetype().FT_New_Face(m_library, file->path.c_str(), file->index, &loaded.face) == 0)
                loaded.file = *file;
            else
                loaded.face = nullptr;
            it = m_faces.emplace(key, loaded).first;
        }
        return it->second.face ? &it->second : nullptr;
    }

    FT_Library m_library = nullptr;
    bool m_libraryTried = false;
    FcConfig* m_config = nullptr;
    bool m_configTried = false;
    std::map<std::string, LoadedFace> m_faces;
};

} // namespace

PictTextRenderer freeTypeTextRenderer() {
    auto fonts = std::make_shared<FreeTypeFonts>();
    return [fonts](const PictTextRun& run, std::size_t maxPixels) { return fonts->render(run, maxPixels); };
}

} // namespace gfx
