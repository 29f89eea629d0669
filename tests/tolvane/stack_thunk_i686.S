// int32_t TvnStackChange(const void* function, uint32_t argumentBytes, int floatResult)
//
// Calls `function` with `argumentBytes` bytes of zeros pushed as its
// arguments and answers how far ESP moved across the call: 0 when the callee
// popped exactly what was pushed, as __stdcall with the right argument size
// does; -argumentBytes for a callee that leaves them (__cdecl). A float or
// double result is dropped from the x87 stack, which would overflow after
// eight of them. Works on any stack the callee leaves behind: ESP is put
// back from ESI, which the callee must preserve.
    .text
    .globl _TvnStackChange
    .def _TvnStackChange; .scl 2; .type 32; .endef
_TvnStackChange:
    pushl %ebp
    movl %esp, %ebp
    pushl %ebx
    pushl %esi
    pushl %edi
    movl 8(%ebp), %eax
    movl 12(%ebp), %ecx
    movl %esp, %esi
    shrl $2, %ecx
1:
    testl %ecx, %ecx
    jz 2f
    pushl $0
    decl %ecx
    jmp 1b
2:
    call *%eax
    movl 16(%ebp), %ecx
    testl %ecx, %ecx
    jz 3f
    fstp %st(0)
3:
    movl %esp, %eax
    subl %esi, %eax
    movl %esi, %esp
    popl %edi
    popl %esi
    popl %ebx
    popl %ebp
    ret
