#include "Jpeg.h"

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE and size_t declared first

#include <jpeglib.h>

namespace {

constexpr JDIMENSION kLadoMaximo = 8192;

// libjpeg's default error handler ends the process; this one jumps back to the decoder.
struct Gestor_Errores {
    jpeg_error_mgr base;
    std::jmp_buf salto;
};

[[noreturn]] void Error_Fatal(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<Gestor_Errores*>(cinfo->err)->salto, 1);
}

// Level -1 is a warning about corrupt data, which libjpeg would paper over with grey.
void Mensaje(j_common_ptr cinfo, int nivel) {
    if (nivel < 0) {
        Error_Fatal(cinfo);
    }
}

// Only trivially destructible objects live in this frame, so jumping back to setjmp skips
// no destructor; *imagen belongs to the caller.
bool Decodifica(const unsigned char* datos, unsigned long tamano, QImage* imagen) {
    jpeg_decompress_struct cinfo;
    Gestor_Errores errores;
    cinfo.err = jpeg_std_error(&errores.base);
    errores.base.error_exit = Error_Fatal;
    errores.base.emit_message = Mensaje;
    if (setjmp(errores.salto) != 0) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, datos, tamano);
    jpeg_read_header(&cinfo, TRUE);
    if (cinfo.image_width > kLadoMaximo || cinfo.image_height > kLadoMaximo) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    *imagen = QImage(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height),
                     QImage::Format_RGB888);
    if (imagen->isNull() || cinfo.output_components != 3) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW fila = imagen->scanLine(static_cast<int>(cinfo.output_scanline));
        jpeg_read_scanlines(&cinfo, &fila, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

} // namespace

QImage Decodifica_Jpeg(const QByteArray& bytes) {
    if (bytes.isEmpty()) {
        return {};
    }
    QImage imagen;
    if (!Decodifica(reinterpret_cast<const unsigned char*>(bytes.constData()),
                    static_cast<unsigned long>(bytes.size()), &imagen)) {
        return {};
    }
    return imagen;
}
