# mivo_widl(<out_var> <idl> <basename>): compiles an IDL file with widl into a header,
# the interface ids and a type library in the current binary dir. <out_var> receives
# the generated C sources to add to a target.
function(mivo_widl out_var idl base)
  if(NOT MIVO_WIDL)
    find_program(MIVO_WIDL NAMES i686-w64-mingw32-widl widl REQUIRED)
  endif()
  get_filename_component(idl_abs ${idl} ABSOLUTE)
  set(out_dir ${CMAKE_CURRENT_BINARY_DIR})
  add_custom_command(
    OUTPUT ${out_dir}/${base}.h ${out_dir}/${base}_i.c ${out_dir}/${base}.tlb
    COMMAND ${MIVO_WIDL} --win32 -I/usr/share/mingw-w64/include
            -h -H ${out_dir}/${base}.h
            -u -U ${out_dir}/${base}_i.c
            -t -T ${out_dir}/${base}.tlb
            ${idl_abs}
    DEPENDS ${idl_abs}
    COMMENT "widl ${base}.idl"
    VERBATIM)
  set(${out_var} ${out_dir}/${base}_i.c PARENT_SCOPE)
endfunction()
