# vyn_embed(<input file> <symbol> <out var>): compiles a data file into the binary as
#   extern const unsigned char <symbol>[]; extern const std::size_t <symbol>Size;
# inside namespace vyn::embedded. The generated source is rebuilt when the file changes.
function(vyn_embed input symbol out_var)
  set(output ${CMAKE_BINARY_DIR}/generated/${symbol}.cc)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${input} -DOUTPUT=${output} -DSYMBOL=${symbol}
            -P ${CMAKE_SOURCE_DIR}/cmake/EmbedFile.cmake
    DEPENDS ${input} ${CMAKE_SOURCE_DIR}/cmake/EmbedFile.cmake
    COMMENT "Embedding ${input}")
  set(${out_var} ${output} PARENT_SCOPE)
endfunction()
