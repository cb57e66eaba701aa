# The smallest static i386 program: exits 0 where the kernel runs 32-bit code.
        .globl _start
_start:
        movl $1, %eax
        xorl %ebx, %ebx
        int $0x80
