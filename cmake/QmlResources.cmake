# Compiles every file under qml/ into one resource tree with the prefix "/qml/".
# The list is globbed so that a new page or picture needs no edit here; CMake
# re-globs at build time when files appear or vanish.

# kelvo_add_qml_resources(target source_dir [EXTRA alias path ...]): EXTRA adds
# files from elsewhere (such as a font from a Debian package) under an alias.
function(kelvo_add_qml_resources target source_dir)
    cmake_parse_arguments(ARG "" "" "EXTRA" ${ARGN})
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
    set(_extra ${ARG_EXTRA})
    while(_extra)
        list(POP_FRONT _extra _alias _path)
        if(NOT EXISTS ${_path})
            message(FATAL_ERROR "resource ${_alias}: ${_path} is missing (scripts/install-deps installs it)")
        endif()
        string(APPEND _content "    <file alias=\"${_alias}\">${_path}</file>\n")
    endwhile()
    string(APPEND _content "</qresource>\n</RCC>\n")
    file(CONFIGURE OUTPUT ${_qrc} CONTENT "${_content}")
    # The QML and script files are compiled ahead of time, so start-up does
    # not parse them; the pictures and the font are stored as they are.
    qtquick_compiler_add_resources(_sources ${_qrc})
    # An object library: its static initialiser registers the tree in every
    # executable that links it, before main() runs.
    add_library(${target} OBJECT ${_sources})
    target_link_libraries(${target} PRIVATE Qt5::Core Qt5::Qml)
endfunction()
