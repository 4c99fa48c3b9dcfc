# Compiles every file under qml/ into one resource tree with the prefix "/qml/".
# The list is globbed so that a new page or picture needs no edit here; CMake
# re-globs at build time when files appear or vanish.

function(kelvo_add_qml_resources target source_dir)
    file(GLOB_RECURSE _files CONFIGURE_DEPENDS RELATIVE ${source_dir}
         ${source_dir}/*.qml ${source_dir}/*.js ${source_dir}/qmldir
         ${source_dir}/*.svg ${source_dir}/*.png ${source_dir}/*.jpg
         ${source_dir}/*.ttf ${source_dir}/*.otf)
    list(SORT _files)
    set(_qrc ${CMAKE_CURRENT_BINARY_DIR}/kelvo_qml.qrc)
    set(_content "<!DOCTYPE RCC><RCC version=\"1.0\">\n<qresource prefix=\"/qml\">\n")
    foreach(_f IN LISTS _files)
        string(APPEND _content "    <file alias=\"${_f}\">${source_dir}/${_f}</file>\n")
    endforeach()
    string(APPEND _content "</qresource>\n</RCC>\n")
    file(CONFIGURE OUTPUT ${_qrc} CONTENT "${_content}")
    qt5_add_resources(_sources ${_qrc})
    # An object library: its static initialiser registers the tree in every
    # executable that links it, before main() runs.
    add_library(${target} OBJECT ${_sources})
endfunction()
