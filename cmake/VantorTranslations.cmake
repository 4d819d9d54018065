# vantor_add_catalogue(<catalogue> SOURCE_DIRS <dir>...)
# Compiles translations/<catalogue>_*.ts into bin/translations/*.qm at build time and
# registers the sources with the update_translations target, which refreshes the .ts
# files with lupdate. Only the .ts files are kept in the repository.
if(NOT TARGET update_translations)
    add_custom_target(update_translations)
endif()

function(vantor_add_catalogue catalogue)
    cmake_parse_arguments(ARG "" "" "SOURCE_DIRS" ${ARGN})
    file(GLOB ts_files ${CMAKE_SOURCE_DIR}/translations/${catalogue}_*.ts)
    if(ts_files)
        set_source_files_properties(${ts_files} PROPERTIES OUTPUT_LOCATION ${VANTOR_TRANSLATIONS_DIR})
        qt5_add_translation(qm_files ${ts_files})
        add_custom_target(${catalogue}_translations ALL DEPENDS ${qm_files})
    endif()
    set(dirs)
    foreach(dir IN LISTS ARG_SOURCE_DIRS)
        list(APPEND dirs ${CMAKE_SOURCE_DIR}/${dir})
    endforeach()
    set(commands)
    foreach(ts IN LISTS ts_files)
        list(APPEND commands COMMAND Qt5::lupdate -silent -no-obsolete -locations relative
                                     ${dirs} -ts ${ts})
    endforeach()
    if(commands)
        add_custom_target(update_${catalogue}_translations ${commands}
            WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} VERBATIM)
        add_dependencies(update_translations update_${catalogue}_translations)
    endif()
endfunction()
