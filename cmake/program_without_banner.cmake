# SPDX-License-Identifier: GPL-3.0-or-later
# A program without the compilers' banners (the .comment section): nothing
# in its bytes tells which build of the compiler made it.
function(kerf_program_without_banner target)
  add_custom_command(TARGET ${target} POST_BUILD
                     COMMAND ${CMAKE_OBJCOPY} --remove-section .comment $<TARGET_FILE:${target}>)
endfunction()
