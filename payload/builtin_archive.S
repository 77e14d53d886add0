/* The archive file goes into read-only data as it is, behind the two int32
   fields of a byte-array value. QUORVANE_ARCHIVE_FILE names the file. */
#define GLUE2(a, b) a##b
#define GLUE(a, b) GLUE2(a, b)
/* C names carry a leading underscore on 32-bit Windows, none on 64-bit. */
#define C_NAME(name) GLUE(__USER_LABEL_PREFIX__, name)

    .section .rdata,"dr"
    .balign 8
    .globl C_NAME(quorvane_builtin_archive)
C_NAME(quorvane_builtin_archive):
    .long 1
    .long 2f - 1f
1:
    .incbin QUORVANE_ARCHIVE_FILE
2:
    .globl C_NAME(quorvane_builtin_archive_end)
C_NAME(quorvane_builtin_archive_end):
