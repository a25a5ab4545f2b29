# What a Windows user installs: filled in with the host and the package.
