// Shared helpers of the test binaries live beside this file.
