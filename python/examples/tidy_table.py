import chromiva
table = chromiva.load("run.cvdata").to_pandas(sensor=0, target=1, step=50)  # reflectance in %
means = table.groupby("wavelength_nm")["value"].agg(["mean", "std"])
print(means.round(2))
table.to_csv("run-tidy.csv", index=False)  # the same columns as chromiva-cli export --format tidy
